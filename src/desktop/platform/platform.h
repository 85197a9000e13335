#pragma once

#include <QString>
#include <optional>

class QPrinter;
class QWidget;

namespace trelvanox {

enum class TMsgButtons { Ok, OkCancel, OkCancelHelp };
enum class TMsgIcon { None, Information, Question, Stop, Exclamation, Warning };
// Closing a box any other way than with OK (its close button, Escape) counts as Cancel; a box
// with OK alone has no other answer than Ok. A Help button never closes its box, so it is never
// an answer.
enum class TMsgResult { Ok, Cancel };

// A file dialog's settings. The filter is in the "text|patterns|text|patterns" form, patterns
// separated by ";" ("Файлы радарограмм (*.GPR, *.GPR2)|*.GPR;*.GPR2|Все файлы (*.*)|*.*").
struct TFileDialogRequest {
    QString Filter;
    QString ProposedName;      // file name (or path) shown at start; may be empty
    QString DefaultExtension;  // without the dot; added to a typed name that has none
};

// Everything that talks to the user outside the program's own windows: message boxes, file
// and printer dialogs, the clipboard, and the desktop's document viewer. Forms get one injected;
// the program passes the Qt implementation, UI tests a scripted fake that records every message
// and answers from a queue.
class TPlatform {
  public:
    virtual ~TPlatform() = default;

    // A titled box: its own caption, buttons and icon; modal to owner. Returns the answer.
    virtual TMsgResult MessageBox(QWidget* owner, const QString& text, const QString& caption,
                                  TMsgButtons buttons, TMsgIcon icon) = 0;
    // A plain message: the application's title as caption, an OK button, no icon.
    virtual void ShowMessage(QWidget* owner, const QString& text) = 0;
    // The general error display for an error a command did not handle: its message, OK.
    virtual void ShowError(QWidget* owner, const QString& message) = 0;

    // The chosen file's full path, or nothing when the user cancelled.
    virtual std::optional<QString> GetOpenFileName(QWidget* owner,
                                                   const TFileDialogRequest& request) = 0;
    virtual std::optional<QString> GetSaveFileName(QWidget* owner,
                                                   const TFileDialogRequest& request) = 0;
    // The printer-setup dialog over printer; false when the user cancelled.
    virtual bool PrinterSetup(QWidget* owner, QPrinter& printer) = 0;

    virtual QString ClipboardText() = 0;
    virtual void SetClipboardText(const QString& text) = 0;

    // Asks the desktop to open the document with its viewer; whether it could is not reported.
    virtual void OpenDocument(const QString& path) = 0;
    // Shows the program's manual (its index.html) at section (an anchor; empty for the top): in
    // the desktop's browser, or in the program's own viewer when the browser cannot be started
    // or the page is one of the program's resources (a path starting with ":/").
    virtual void ShowManual(QWidget* owner, const QString& path, const QString& section) = 0;
};

}  // namespace trelvanox
