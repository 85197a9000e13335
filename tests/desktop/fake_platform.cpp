#include "fake_platform.h"

#include <QClipboard>
#include <QGuiApplication>

namespace trelvanox {

namespace {

template <typename T>
T TakeFront(std::deque<T>& queue, const T& fallback) {
    if (queue.empty()) return fallback;
    const T value = queue.front();
    queue.pop_front();
    return value;
}

}  // namespace

QStringList TFakePlatform::Messages() const {
    QStringList texts;
    for (const TRecorded& call : Calls) {
        if (call.Kind == TCallKind::MessageBox || call.Kind == TCallKind::ShowMessage ||
            call.Kind == TCallKind::ShowError) {
            texts << call.Text;
        }
    }
    return texts;
}

void TFakePlatform::Clear() {
    Calls.clear();
    MessageAnswers.clear();
    OpenAnswers.clear();
    SaveAnswers.clear();
    PrinterAnswers.clear();
}

TMsgResult TFakePlatform::MessageBox(QWidget*, const QString& text, const QString& caption,
                                     TMsgButtons buttons, TMsgIcon icon) {
    Calls.push_back({TCallKind::MessageBox, text, caption, buttons, icon, {}});
    if (buttons == TMsgButtons::Ok) return TMsgResult::Ok;
    return TakeFront(MessageAnswers, TMsgResult::Ok);
}

void TFakePlatform::ShowMessage(QWidget*, const QString& text) {
    Calls.push_back({TCallKind::ShowMessage,
                     text,
                     QGuiApplication::applicationDisplayName(),
                     TMsgButtons::Ok,
                     TMsgIcon::None,
                     {}});
}

void TFakePlatform::ShowError(QWidget*, const QString& message) {
    Calls.push_back({TCallKind::ShowError,
                     message,
                     QGuiApplication::applicationDisplayName(),
                     TMsgButtons::Ok,
                     TMsgIcon::Stop,
                     {}});
}

std::optional<QString> TFakePlatform::GetOpenFileName(QWidget*, const TFileDialogRequest& request) {
    Calls.push_back({TCallKind::Open, {}, {}, TMsgButtons::Ok, TMsgIcon::None, request});
    return TakeFront(OpenAnswers, std::optional<QString>{});
}

std::optional<QString> TFakePlatform::GetSaveFileName(QWidget*, const TFileDialogRequest& request) {
    Calls.push_back({TCallKind::Save, {}, {}, TMsgButtons::Ok, TMsgIcon::None, request});
    return TakeFront(SaveAnswers, std::optional<QString>{});
}

bool TFakePlatform::PrinterSetup(QWidget*, QPrinter& printer) {
    Calls.push_back({TCallKind::PrinterSetup, {}, {}, TMsgButtons::Ok, TMsgIcon::None, {}});
    const bool accepted = TakeFront(PrinterAnswers, false);
    if (accepted && ConfigurePrinter) ConfigurePrinter(printer);
    return accepted;
}

QString TFakePlatform::ClipboardText() {
    return UseRealClipboard ? QGuiApplication::clipboard()->text() : ClipboardContent;
}

void TFakePlatform::SetClipboardText(const QString& text) {
    if (UseRealClipboard) {
        QGuiApplication::clipboard()->setText(text);
    } else {
        ClipboardContent = text;
    }
}

void TFakePlatform::OpenDocument(const QString& path) {
    Calls.push_back({TCallKind::OpenDocument, path, {}, TMsgButtons::Ok, TMsgIcon::None, {}});
}

void TFakePlatform::ShowManual(QWidget*, const QString& path, const QString& section) {
    Calls.push_back({TCallKind::ShowManual, path, section, TMsgButtons::Ok, TMsgIcon::None, {}});
}

}  // namespace trelvanox
