#include "desktop/exchange/clipboard_commands.h"

#include "desktop/platform/platform.h"
#include "desktop/widgets/string_grid_model.h"
#include "desktop/widgets/string_grid_view.h"
#include "exchange/clipboard_text.h"

namespace trelvanox {

void CopyTableToClipboard(TPlatform& platform, const TStringGrid& editTable) {
    platform.SetClipboardText(QString::fromUtf8(BuildClipboardText(editTable)));
}

void PasteTableFromClipboard(TPlatform& platform, QWidget& owner, TStringGridView& editTable) {
    const std::string text = platform.ClipboardText().toStdString();
    if (!PasteClipboardText(editTable.Grid(), text)) {
        platform.ShowMessage(&owner, QString::fromUtf8(kNothingToPasteMessage.data(),
                                                       kNothingToPasteMessage.size()));
        return;
    }
    editTable.GridModel()->GridChanged();
}

}  // namespace trelvanox
