#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "desktop/platform/platform.h"

namespace trelvanox {

// A scripted platform for UI tests: it records every question and message in order and
// answers from queues the test fills beforehand. Nothing is shown.
class TFakePlatform : public TPlatform {
  public:
    enum class TCallKind {
        MessageBox,
        ShowMessage,
        ShowError,
        Open,
        Save,
        PrinterSetup,
        OpenDocument,
        ShowManual
    };

    // One call as the user would have seen it. Plain messages and errors carry the caption,
    // buttons and icon the real platform gives them; OpenDocument and ShowManual keep the path in
    // Text, ShowManual its section in Caption; the file dialogs keep their settings in Request.
    struct TRecorded {
        TCallKind Kind = TCallKind::MessageBox;
        QString Text;
        QString Caption;
        TMsgButtons Buttons = TMsgButtons::Ok;
        TMsgIcon Icon = TMsgIcon::None;
        TFileDialogRequest Request;
    };

    std::vector<TRecorded> Calls;

    // Answers, taken from the front. Only boxes with a choice (OK and Cancel) take one; a box
    // with OK alone answers Ok. Empty queues answer Ok, cancelled and false.
    std::deque<TMsgResult> MessageAnswers;
    std::deque<std::optional<QString>> OpenAnswers;
    std::deque<std::optional<QString>> SaveAnswers;
    std::deque<bool> PrinterAnswers;
    // Called with the printer when printer setup is accepted, as the user's choices would be
    // (for instance PDF output into a file).
    std::function<void(QPrinter&)> ConfigurePrinter;

    // True: the application's clipboard; false: ClipboardContent only.
    bool UseRealClipboard = true;
    QString ClipboardContent;

    // The texts of the message boxes, plain messages and errors, in order.
    QStringList Messages() const;
    // The last call; the test must know there was one.
    const TRecorded& Last() const { return Calls.back(); }
    // Forgets the calls and every answer still queued.
    void Clear();

    TMsgResult MessageBox(QWidget* owner, const QString& text, const QString& caption,
                          TMsgButtons buttons, TMsgIcon icon) override;
    void ShowMessage(QWidget* owner, const QString& text) override;
    void ShowError(QWidget* owner, const QString& message) override;
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
