#include "desktop/exchange/clipboard_commands.h"

#include "desktop/app/main_form.h"
#include "desktop/platform/platform.h"
#include "desktop/widgets/string_grid_model.h"
#include "desktop/widgets/string_grid_view.h"
#include "exchange/clipboard_text.h"

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
