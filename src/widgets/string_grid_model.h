#pragma once

#include <QAbstractTableModel>

#include "common/string_grid.h"

namespace trelvanox {

// A table model over a core TStringGrid that the form owns. The grid's fixed title row and,
// where the table has one, its fixed first column are the view's headers, so they stay in place
// while the cells scroll; the other cells are the model's items, editable in place. Texts are
// UTF-8 in the grid.
class TStringGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TStringGridModel(TStringGrid& grid, int fixedRows, int fixedCols, QObject* parent = nullptr);

    TStringGrid& Grid() { return grid_; }
    const TStringGrid& Grid() const { return grid_; }
    int FixedRows() const { return fixedRows_; }
    int FixedCols() const { return fixedCols_; }

    // After core code changed the grid as a whole (fill, clear, resize): one model reset.
    void GridChanged();
    // After core code changed one cell (grid coordinates).
    void CellChanged(int col, int row);

    // Grid coordinates of a model index, and back.
    int GridCol(const QModelIndex& index) const { return index.column() + fixedCols_; }
    int GridRow(const QModelIndex& index) const { return index.row() + fixedRows_; }
    QModelIndex IndexOf(int col, int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    TStringGrid& grid_;
    int fixedRows_;
    int fixedCols_;
};

}  // namespace trelvanox
