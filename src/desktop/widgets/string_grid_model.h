#pragma once

#include <QAbstractTableModel>

#include "common/string_grid.h"

namespace trelvanox {

// A table model over a core TStringGrid that the form owns. The grid's fixed title row and,
// where the table has one, its fixed first column are the view's headers, so they stay in place
// while the cells scroll; the other cells are the model's items, editable in place. Texts are
// UTF-8 in the grid.
//
// Lifetime: the grid belongs to the form and must outlive the model (the view that creates the
// model owns it). The model keeps no copy of the texts, so code that changes the grid directly
// must tell the model: GridChanged after a change of many cells or of the size, CellChanged
// after a single cell. Edits made through the model (the view's editor) write into the grid.
class TStringGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // fixedRows and fixedCols are 0 or 1 (a header can show one title row or column).
    TStringGridModel(TStringGrid& grid, int fixedRows, int fixedCols, QObject* parent = nullptr);

    TStringGrid& Grid() { return grid_; }
    const TStringGrid& Grid() const { return grid_; }
    int FixedRows() const { return fixedRows_; }
    int FixedCols() const { return fixedCols_; }

    // After core code changed the grid as a whole (fill, clear, resize): one model reset.
    void GridChanged();
    // After core code changed one cell (grid coordinates): one dataChanged for an item, one
    // headerDataChanged for a title or fixed-column cell, CornerChanged for cell (0, 0) of a
    // grid with both a fixed row and a fixed column.
    void CellChanged(int col, int row);

    // Moves a whole column, title cell included, or a whole row, fixed cell included, from one
    // place to another; those between shift by one toward the old place. Grid coordinates; a
    // place outside the grid changes nothing. The model reports the changed cells itself.
    void MoveGridCol(int from, int to);
    void MoveGridRow(int from, int to);

    // Grid coordinates of a model index, and back. IndexOf gives an invalid index for a fixed
    // cell or a cell outside the grid.
    int GridCol(const QModelIndex& index) const { return index.column() + fixedCols_; }
    int GridRow(const QModelIndex& index) const { return index.row() + fixedRows_; }
    QModelIndex IndexOf(int col, int row) const;

    // The title of the fixed column: cell (0, 0) when the grid has a fixed row and a fixed
    // column (the view shows it in the corner between the headers), else empty.
    QString CornerText() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  signals:
    void CornerChanged();

  private:
    bool IsItem(const QModelIndex& index) const;
    // Reports a changed block of cells, grid coordinates, both ends included.
    void CellsChanged(int firstCol, int lastCol, int firstRow, int lastRow);

    TStringGrid& grid_;
    int fixedRows_;
    int fixedCols_;
};

}  // namespace trelvanox
