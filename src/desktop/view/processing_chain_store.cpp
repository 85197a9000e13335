#include "desktop/view/processing_chain_store.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "common/user_folders.h"

namespace trelvanox {

namespace {

QString PathText(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

// Two spellings of one file (relative, through a link) share one chain.
QString CanonicalText(const std::filesystem::path& path) {
    std::error_code error;
    const auto canonical = std::filesystem::weakly_canonical(path, error);
    return PathText(error ? std::filesystem::absolute(path, error) : canonical);
}

}  // namespace

TProcessingChainStore::TProcessingChainStore(std::filesystem::path folder)
    : folder_(std::move(folder)) {}

QString TProcessingChainStore::FileOf(const std::filesystem::path& radargram) const {
    const QByteArray hash =
        QCryptographicHash::hash(CanonicalText(radargram).toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(32);
    return QDir(PathText(folder_)).filePath(QString::fromLatin1(hash) + QStringLiteral(".chain"));
}

std::optional<std::string> TProcessingChainStore::Load(
    const std::filesystem::path& radargram) const {
    if (folder_.empty() || radargram.empty()) return std::nullopt;
    QFile file(FileOf(radargram));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QList<QByteArray> lines = file.readAll().split('\n');
    // The first line names the radargram: a hash shared by two paths must not mix their chains.
    if (lines.size() < 2 || QString::fromUtf8(lines[0]) != CanonicalText(radargram))
        return std::nullopt;
    return lines[1].trimmed().toStdString();
}

bool TProcessingChainStore::Save(const std::filesystem::path& radargram,
                                 const std::string& text) const {
    if (folder_.empty() || radargram.empty()) return false;
    if (!QDir().mkpath(PathText(folder_))) return false;
    QSaveFile file(FileOf(radargram));
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(CanonicalText(radargram).toUtf8() + '\n' + QByteArray::fromStdString(text) + '\n');
    return file.commit();
}

std::filesystem::path DefaultChainFolder() {
    const std::filesystem::path state = UserStateFolder();
    return state.empty() ? state : state / "view";
}

}  // namespace trelvanox
