#pragma once

#include <QTableView>

#include "common/string_grid.h"

namespace trelvanox {

class TStringGridModel;

// The string grid control: a table view over a core TStringGrid with fixed title row (and
// optionally a fixed first column) shown as headers, column widths and a default row height in
// pixels, editable cells, and a select-cell notification in grid coordinates.
class TStringGridView : public QTableView {
    Q_OBJECT
public:
    TStringGridView(TStringGrid& grid, int fixedRows, int fixedCols, QWidget* parent = nullptr);

    TStringGridModel* GridModel() const { return model_; }
    TStringGrid& Grid();

    // Widths by grid column (a fixed column is the vertical header).
    void SetColWidth(int col, int pixels);
    int ColWidth(int col) const;
    void SetDefaultRowHeight(int pixels);
    // Width in pixels of a text in the grid's font.
    int TextWidth(const QString& text) const;

signals:
    // The user made (col, row) the current cell; grid coordinates.
    void SelectCell(int col, int row);

private:
    TStringGridModel* model_;
};

}  // namespace trelvanox
