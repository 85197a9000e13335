#pragma once

#include <QString>
#include <QStringList>

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

// The platform as Qt gives it: QMessageBox, Qt's own (non-native) file dialogs, QPrintDialog,
// the application clipboard and QDesktopServices. It holds no state; use it from the GUI thread.
class TQtPlatform : public TPlatform {
  public:
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
};

}  // namespace trelvanox
