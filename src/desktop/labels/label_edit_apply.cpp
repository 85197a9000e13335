#include "desktop/labels/label_edit_apply.h"

#include "common/program_error.h"
#include "desktop/platform/platform.h"
#include "document/radargram_document.h"

namespace trelvanox {

namespace {

bool Reported(TPlatform& platform, QWidget* owner, const QString& caption,
              const TDocumentResult& result) {
    if (result.Ok()) return false;
    const TFileMessage& message = *result.Message;
    const QString title = message.Caption.empty() ? caption : QString::fromUtf8(message.Caption);
    platform.MessageBox(owner, QString::fromUtf8(message.Text), title, TMsgButtons::Ok,
                        TMsgIcon::Exclamation);
    return true;
}

}  // namespace

bool ApplyModelEdit(TRadargramDocument& document, TPlatform& platform, QWidget* owner,
                    const QString& caption,
                    const std::function<std::optional<TLabelEdit>()>& make) {
    if (Reported(platform, owner, caption, document.RequireRead())) return false;
    std::optional<TLabelEdit> edit;
    try {
        edit = make();
    } catch (const TProgramError& refusal) {
        platform.MessageBox(owner, QString::fromUtf8(refusal.what()), caption, TMsgButtons::Ok,
                            TMsgIcon::Exclamation);
        return false;
    }
    if (!edit) return false;
    if (Reported(platform, owner, caption, document.Change({edit->Description, edit->Apply})))
        return false;
    // The tables, the counts and the views show the file as it now is.
    Reported(platform, owner, caption, document.ReadAgain());
    return true;
}

}  // namespace trelvanox
