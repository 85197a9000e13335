#include "exchange/clipboard_commands.h"

#include "app/main_form.h"
#include "exchange/clipboard_text.h"
#include "platform/platform.h"
#include "widgets/string_grid_model.h"
#include "widgets/string_grid_view.h"

namespace trelvanox {

void CopyTableToClipboard(TFmMainForm& form) {
    form.Platform().SetClipboardText(QString::fromUtf8(BuildClipboardText(form.NewLabelsGrid())));
}

void PasteTableFromClipboard(TFmMainForm& form) {
    const std::string text = form.Platform().ClipboardText().toStdString();
    if (!PasteClipboardText(form.NewLabelsGrid(), text)) {
        form.Platform().ShowMessage(
            &form, QString::fromUtf8(kNothingToPasteMessage.data(), kNothingToPasteMessage.size()));
        return;
    }
    form.sgNewSetsLabels()->GridModel()->GridChanged();
}

}  // namespace trelvanox
