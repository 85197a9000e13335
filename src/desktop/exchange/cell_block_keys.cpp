#include "desktop/exchange/cell_block_keys.h"

#include <QEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <algorithm>
#include <limits>

#include "desktop/platform/platform.h"
#include "desktop/widgets/string_grid_model.h"
#include "desktop/widgets/string_grid_view.h"
#include "exchange/cell_block_text.h"

namespace trelvanox {

namespace {

class TCellBlockKeys : public QObject {
  public:
    TCellBlockKeys(TStringGridView& view, TPlatform& platform)
        : QObject(&view), view_(view), platform_(platform) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &view_) return false;
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const bool copy = key->matches(QKeySequence::Copy);
        const bool paste = key->matches(QKeySequence::Paste) && Editable();
        if (!copy && !paste) return false;
        // Claimed as a key of the grid, so no shortcut of the window takes it.
        key->accept();
        if (event->type() == QEvent::ShortcutOverride) return true;
        if (copy)
            Copy();
        else
            Paste();
        return true;
    }

  private:
    bool Editable() const {
        return view_.HasOption(TGridOption::Editing) && !view_.HasOption(TGridOption::RowSelect);
    }

    // The bounding block of the selection, or the current cell when nothing is selected.
    TCellBlock Selected() const {
        const TStringGridModel& model = *view_.GridModel();
        const QModelIndexList indexes = view_.selectionModel()->selectedIndexes();
        if (indexes.isEmpty()) {
            const QModelIndex current = view_.currentIndex();
            const int col = model.GridCol(current), row = model.GridRow(current);
            return {col, row, col, row};
        }
        TCellBlock block{std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), -1, -1};
        for (const QModelIndex& index : indexes) {
            block.FirstCol = std::min(block.FirstCol, model.GridCol(index));
            block.FirstRow = std::min(block.FirstRow, model.GridRow(index));
            block.LastCol = std::max(block.LastCol, model.GridCol(index));
            block.LastRow = std::max(block.LastRow, model.GridRow(index));
        }
        return block;
    }

    void Copy() {
        if (!view_.currentIndex().isValid() && !view_.selectionModel()->hasSelection()) return;
        const std::string text = BuildCellBlockText(view_.Grid(), Selected());
        platform_.SetClipboardText(QString::fromUtf8(text.data(), qsizetype(text.size())));
    }

    void Paste() {
        const QModelIndex current = view_.currentIndex();
        if (!current.isValid()) return;
        TStringGridModel& model = *view_.GridModel();
        const std::string text = platform_.ClipboardText().toStdString();
        const TCellBlock block =
            PasteCellBlockText(view_.Grid(), model.GridCol(current), model.GridRow(current), text);
        if (block.LastRow < block.FirstRow) return;
        model.GridChanged();
        // The pasted cells stay selected, as a table program shows what it put in.
        const QModelIndex first = model.IndexOf(block.FirstCol, block.FirstRow);
        const QModelIndex last = model.IndexOf(block.LastCol, block.LastRow);
        view_.setCurrentIndex(first);
        view_.selectionModel()->select(QItemSelection(first, last),
                                       QItemSelectionModel::ClearAndSelect);
    }

    TStringGridView& view_;
    TPlatform& platform_;
};

}  // namespace

void InstallCellBlockKeys(TStringGridView& view, TPlatform& platform) {
    view.installEventFilter(new TCellBlockKeys(view, platform));
}

}  // namespace trelvanox
