#include "desktop/app/help_places.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <array>
#include <utility>

// The built-in manual lives in a static library, whose unreferenced parts the linker drops;
// this reference keeps it. Resource initialisers are declared outside any namespace.
static void InitManualResource() {
    Q_INIT_RESOURCE(manual);
}

namespace trelvanox {

namespace {

const QString kHelpFileName = QStringLiteral("HelpTrelvanox.chm");
const QString kManualIndex = QStringLiteral("index.html");

bool IsFile(const QString& path) {
    return QFileInfo(path).isFile();
}

// Windows shows compiled help itself; elsewhere the desktop must have a program registered for
// its type, or opening the file would show nothing at all.
bool DesktopShowsHelpFiles() {
#ifdef Q_OS_WIN
    return true;
#else
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty()) return false;
    QProcess process;
    process.start(query, {QStringLiteral("query"), QStringLiteral("default"),
                          QStringLiteral("application/vnd.ms-htmlhelp")});
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    return process.exitCode() == 0 && !process.readAllStandardOutput().trimmed().isEmpty();
#endif
}

}  // namespace

THelpTarget ResolveHelp(const THelpPlaces& places) {
    InitManualResource();
    const QString helpFile = QDir(places.CurrentFolder).filePath(kHelpFileName);
    if (places.HelpFileViewer && IsFile(helpFile)) return {THelpSource::HelpFile, helpFile};
    for (const QString& folder : places.ManualFolders) {
        const QString index = QDir(folder).filePath(kManualIndex);
        if (IsFile(index)) return {THelpSource::Manual, QFileInfo(index).absoluteFilePath()};
    }
    return {};
}

QString HelpSection(const QString& windowName) {
    static const std::array<std::pair<const char*, const char*>, 8> kSections{{
        {"FmOptions", "options"},
        {"FmRegulationAmplitude", "amplitude"},
        {"FmColorOptions", "labels"},
        {"FmInsertLabel", "labels"},
        {"FmHistory", "undo"},
        {"FmRadargramView", "view"},
        {"FmLabelEditor", "label_editing"},
        {"FmCalibrateByLabels", "calibration"},
    }};
    for (const auto& [window, section] : kSections)
        if (windowName == QLatin1String(window)) return QString::fromLatin1(section);
    return {};
}

QStringList ProgramManualFolders(const QString& programFolder) {
    const QDir folder(programFolder);
    return {folder.filePath(QStringLiteral("manual")),
            folder.filePath(QStringLiteral("../share/trelvanox/manual"))};
}

THelpPlaces DefaultHelpPlaces() {
    THelpPlaces places;
    places.CurrentFolder = QDir::currentPath();
    const QString helpFile = QDir(places.CurrentFolder).filePath(kHelpFileName);
    // The viewer is asked for only when there is a file to show.
    places.HelpFileViewer = IsFile(helpFile) && DesktopShowsHelpFiles();
    places.ManualFolders = ProgramManualFolders(QCoreApplication::applicationDirPath());
#ifdef TRELVANOX_SOURCE_MANUAL
    places.ManualFolders << QStringLiteral(TRELVANOX_SOURCE_MANUAL);
#endif
    return places;
}

}  // namespace trelvanox
