#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <filesystem>

#include "desktop/platform/platform.h"

namespace trelvanox {

// Turns a "text|patterns|text|patterns" filter into Qt name filters "text (pattern pattern)".
// The texts stay whole (the dialog hides the appended pattern list, so the user reads exactly
// the given text); patterns are separated by ";" and trimmed. "*.*" becomes "*" so that "all
// files" also lists names without a dot. A text without patterns is dropped; an entry whose
// patterns are all blank lists everything.
QStringList NameFiltersFromPattern(const QString& filter);

// The suffix a file dialog adds to a typed name without one: the default extension without
// the leading "*" and "." that callers may write ("*.txt", ".txt" and "txt" all give "txt").
QString DefaultSuffixFromExtension(const QString& extension);

// The smallest size a file dialog opens at: room for long Russian file names and several
// columns of the detail view.
inline constexpr QSize kMinFileDialogSize(900, 600);

// The platform as Qt gives it: QMessageBox, Qt's own (non-native) file dialogs, QPrintDialog,
// the application clipboard and QDesktopServices. Its only state is the size of the file
// dialogs; use it from the GUI thread.
class TQtPlatform : public TPlatform {
  public:
    // The file dialogs open at the size the user last gave one, kept in the settings file when
    // one is given (the program's own), otherwise for the run only; at kMinFileDialogSize
    // before the user has chosen one. Neither ever opens larger than the screen.
    explicit TQtPlatform(std::filesystem::path settingsFile = {});

    TMsgResult MessageBox(QWidget* owner, const QString& text, const QString& caption,
                          TMsgButtons buttons, TMsgIcon icon) override;
    void ShowMessage(QWidget* owner, const QString& text) override;
    // The application's title as caption, the message, OK and the critical (stop) icon.
    void ShowError(QWidget* owner, const QString& message) override;

    // Both dialogs start in the folder of the proposed name when it has one, otherwise in the
    // folder where the last file dialog of the run was left, like the desktop's own dialogs.
    std::optional<QString> GetOpenFileName(QWidget* owner,
                                           const TFileDialogRequest& request) override;
    std::optional<QString> GetSaveFileName(QWidget* owner,
                                           const TFileDialogRequest& request) override;
    bool PrinterSetup(QWidget* owner, QPrinter& printer) override;

    QString ClipboardText() override;
    void SetClipboardText(const QString& text) override;

    void OpenDocument(const QString& path) override;
    void ShowManual(QWidget* owner, const QString& path, const QString& section) override;

  private:
    std::optional<QString> RunFileDialog(QWidget* owner, const TFileDialogRequest& request,
                                         bool save);
    QSize FileDialogSize(const QWidget* owner) const;
    void KeepFileDialogSize(QSize size);

    std::filesystem::path settingsFile_;
    QSize fileDialogSize_;  // invalid until the user has chosen one
};

}  // namespace trelvanox
