#include "desktop/platform/qt_platform.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QListView>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <utility>

#include "desktop/platform/manual_viewer.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

namespace trelvanox {

QStringList NameFiltersFromPattern(const QString& filter) {
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& part : parts[i + 1].split(QLatin1Char(';'))) {
            const QString pattern = part.trimmed();
            if (pattern.isEmpty()) continue;
            patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
        }
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        patterns.removeDuplicates();
        const QString patternList = patterns.join(QLatin1Char(' '));
        const QString text = parts[i].trimmed();
        result << (text.isEmpty() ? patternList : text) + QStringLiteral(" (") + patternList +
                      QLatin1Char(')');
    }
    return result;
}

QString DefaultSuffixFromExtension(const QString& extension) {
    QString suffix = extension.trimmed();
    while (suffix.startsWith(QLatin1Char('*'))) suffix.remove(0, 1);
    while (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
    // A wildcard is no extension ("*.*" asks for none).
    if (suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char('?'))) return {};
    return suffix;
}

namespace {

QMessageBox::Icon MessageBoxIcon(TMsgIcon icon) {
    switch (icon) {
        case TMsgIcon::Information:
            return QMessageBox::Information;
        case TMsgIcon::Question:
            return QMessageBox::Question;
        case TMsgIcon::Stop:
            return QMessageBox::Critical;
        case TMsgIcon::Exclamation:
        case TMsgIcon::Warning:
            return QMessageBox::Warning;
        case TMsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

TQtPlatform::TQtPlatform(std::filesystem::path settingsFile)
    : settingsFile_(std::move(settingsFile)) {
    if (settingsFile_.empty()) return;
    if (const auto stored = LoadFileDialogSize(settingsFile_))
        fileDialogSize_ = QSize(stored->Width, stored->Height);
}

QSize TQtPlatform::FileDialogSize(const QWidget* owner) const {
    QSize size = fileDialogSize_.isValid() ? fileDialogSize_ : kMinFileDialogSize;
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) size = size.boundedTo(screen->availableGeometry().size());
    return size;
}

void TQtPlatform::KeepFileDialogSize(QSize size) {
    if (size == fileDialogSize_) return;
    fileDialogSize_ = size;
    if (settingsFile_.empty()) return;
    try {
        SaveFileDialogSize({size.width(), size.height()}, settingsFile_);
    } catch (const TIniWriteError&) {
        // A dialog size is not worth a message: it is kept for the run, and the next start
        // opens at the default size again.
    }
}

namespace {

// Qt's dialog gives its list fixed column widths that cut sizes, dates and the places' names
// short; the name takes the room the others leave, and they show whole.
void FitFileDialogColumns(QFileDialog& dialog) {
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
    if (auto* places = dialog.findChild<QListView*>(QStringLiteral("sidebar")))
        places->setMinimumWidth(places->sizeHintForColumn(0) + 2 * places->frameWidth() + 8);
}

}  // namespace

std::optional<QString> TQtPlatform::RunFileDialog(QWidget* owner, const TFileDialogRequest& request,
                                                  bool save) {
    QFileDialog dialog(owner);
    // Qt's own dialog behaves the same on every desktop and honours the hidden pattern lists.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = NameFiltersFromPattern(request.Filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(DefaultSuffixFromExtension(request.DefaultExtension));

    const QFileInfo proposed(request.ProposedName);
    // Without a folder of its own the dialog opens where the last one of the run was left.
    if (!request.ProposedName.isEmpty() && proposed.path() != QLatin1String(".")) {
        dialog.setDirectory(proposed.absolutePath());
    }
    if (!proposed.fileName().isEmpty()) dialog.selectFile(proposed.fileName());

    FitFileDialogColumns(dialog);
    const QSize opened = FileDialogSize(owner);
    dialog.resize(opened);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // A size the user gave the dialog counts however it was closed.
    if (dialog.size() != opened) KeepFileDialogSize(dialog.size());
    if (!accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.constFirst();
}

TMsgResult TQtPlatform::MessageBox(QWidget* owner, const QString& text, const QString& caption,
                                   TMsgButtons buttons, TMsgIcon icon) {
    QMessageBox box(owner);
    box.setWindowTitle(caption);
    // Messages carry file names and user input; none of it is markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setIcon(MessageBoxIcon(icon));

    // The button texts are set here so that the boxes read Russian whatever translation of the
    // toolkit is installed.
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    ok->setText(QStringLiteral("OK"));
    QPushButton* cancel = nullptr;
    if (buttons != TMsgButtons::Ok) {
        cancel = box.addButton(QMessageBox::Cancel);
        cancel->setText(QStringLiteral("Отмена"));
    }
    if (buttons == TMsgButtons::OkCancelHelp) {
        QPushButton* help = box.addButton(QMessageBox::Help);
        help->setText(QStringLiteral("Справка"));
        // QMessageBox ends on any button. The Help button has no action and must leave the
        // question open, so its click is cut off from the box before it can answer.
        QObject::disconnect(help, &QAbstractButton::clicked, nullptr, nullptr);
    }
    box.setDefaultButton(ok);
    // Escape and the close button press Cancel; a box with OK alone has no other answer.
    box.setEscapeButton(cancel != nullptr ? static_cast<QAbstractButton*>(cancel) : ok);

    box.exec();
    return box.clickedButton() == ok ? TMsgResult::Ok : TMsgResult::Cancel;
}

void TQtPlatform::ShowMessage(QWidget* owner, const QString& text) {
    MessageBox(owner, text, QGuiApplication::applicationDisplayName(), TMsgButtons::Ok,
               TMsgIcon::None);
}

void TQtPlatform::ShowError(QWidget* owner, const QString& message) {
    MessageBox(owner, message, QGuiApplication::applicationDisplayName(), TMsgButtons::Ok,
               TMsgIcon::Stop);
}

std::optional<QString> TQtPlatform::GetOpenFileName(QWidget* owner,
                                                    const TFileDialogRequest& request) {
    return RunFileDialog(owner, request, false);
}

std::optional<QString> TQtPlatform::GetSaveFileName(QWidget* owner,
                                                    const TFileDialogRequest& request) {
    return RunFileDialog(owner, request, true);
}

bool TQtPlatform::PrinterSetup(QWidget* owner, QPrinter& printer) {
    QPrintDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

QString TQtPlatform::ClipboardText() {
    return QGuiApplication::clipboard()->text();
}

void TQtPlatform::SetClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

void TQtPlatform::OpenDocument(const QString& path) {
    // The viewer's start is the desktop's business; a missing document is not reported.
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

void TQtPlatform::ShowManual(QWidget* owner, const QString& path, const QString& section) {
    const bool resource = path.startsWith(QLatin1String(":/"));
    QUrl page = resource ? QUrl(QStringLiteral("qrc") + path) : QUrl::fromLocalFile(path);
    if (!section.isEmpty()) page.setFragment(section);
    if (!resource && QDesktopServices::openUrl(page)) return;
    // No browser could be started: the program shows the page itself, beside its windows.
    (new TFmManual(page, owner))->show();
}

}  // namespace trelvanox
