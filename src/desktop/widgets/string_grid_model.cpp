#include "desktop/widgets/string_grid_model.h"

#include <algorithm>

namespace trelvanox {

namespace {

QString CellText(const TStringGrid& grid, int col, int row) {
    return QString::fromUtf8(grid.Cell(col, row));
}

// Moves the text at place `from` to place `to` of a line of cells read and written one place at
// a time; the texts between shift by one toward `from`.
template <typename Get, typename Set>
void MoveText(int from, int to, Get get, Set set) {
    std::string moving = get(from);
    const int step = from < to ? 1 : -1;
    for (int i = from; i != to; i += step) set(i, get(i + step));
    set(to, std::move(moving));
}

}  // namespace

TStringGridModel::TStringGridModel(TStringGrid& grid, int fixedRows, int fixedCols, QObject* parent)
    : QAbstractTableModel(parent),
      grid_(grid),
      fixedRows_(std::clamp(fixedRows, 0, 1)),
      fixedCols_(std::clamp(fixedCols, 0, 1)) {}

void TStringGridModel::GridChanged() {
    // The size may have changed too, so nothing finer than a reset describes it.
    beginResetModel();
    endResetModel();
}

void TStringGridModel::CellChanged(int col, int row) {
    if (col < 0 || row < 0 || col >= grid_.ColCount() || row >= grid_.RowCount()) return;
    const bool titleRow = row < fixedRows_;
    const bool fixedCol = col < fixedCols_;
    if (titleRow && fixedCol) {
        emit CornerChanged();
    } else if (titleRow) {
        emit headerDataChanged(Qt::Horizontal, col - fixedCols_, col - fixedCols_);
    } else if (fixedCol) {
        emit headerDataChanged(Qt::Vertical, row - fixedRows_, row - fixedRows_);
    } else {
        const QModelIndex changed = IndexOf(col, row);
        emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
    }
}

void TStringGridModel::MoveGridCol(int from, int to) {
    const int count = grid_.ColCount();
    if (from == to || from < 0 || to < 0 || from >= count || to >= count) return;
    for (int row = 0; row < grid_.RowCount(); ++row)
        MoveText(
            from, to, [&](int col) { return grid_.Cell(col, row); },
            [&](int col, std::string text) { grid_.SetCell(col, row, std::move(text)); });
    CellsChanged(std::min(from, to), std::max(from, to), 0, grid_.RowCount() - 1);
}

void TStringGridModel::MoveGridRow(int from, int to) {
    const int count = grid_.RowCount();
    if (from == to || from < 0 || to < 0 || from >= count || to >= count) return;
    for (int col = 0; col < grid_.ColCount(); ++col)
        MoveText(
            from, to, [&](int row) { return grid_.Cell(col, row); },
            [&](int row, std::string text) { grid_.SetCell(col, row, std::move(text)); });
    CellsChanged(0, grid_.ColCount() - 1, std::min(from, to), std::max(from, to));
}

void TStringGridModel::CellsChanged(int firstCol, int lastCol, int firstRow, int lastRow) {
    if (firstRow < fixedRows_ && firstCol < fixedCols_) emit CornerChanged();
    const int itemCol = std::max(firstCol, fixedCols_);
    const int itemRow = std::max(firstRow, fixedRows_);
    if (firstRow < fixedRows_ && itemCol <= lastCol)
        emit headerDataChanged(Qt::Horizontal, itemCol - fixedCols_, lastCol - fixedCols_);
    if (firstCol < fixedCols_ && itemRow <= lastRow)
        emit headerDataChanged(Qt::Vertical, itemRow - fixedRows_, lastRow - fixedRows_);
    if (itemCol <= lastCol && itemRow <= lastRow)
        emit dataChanged(IndexOf(itemCol, itemRow), IndexOf(lastCol, lastRow),
                         {Qt::DisplayRole, Qt::EditRole});
}

bool TStringGridModel::IsItem(const QModelIndex& index) const {
    // Views pass invalid indexes freely; only a valid one of another model is a fault.
    return index.isValid() && checkIndex(index);
}

QModelIndex TStringGridModel::IndexOf(int col, int row) const {
    return index(row - fixedRows_, col - fixedCols_);
}

QString TStringGridModel::CornerText() const {
    return fixedRows_ > 0 && fixedCols_ > 0 ? CellText(grid_, 0, 0) : QString();
}

int TStringGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(grid_.RowCount() - fixedRows_, 0);
}

int TStringGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(grid_.ColCount() - fixedCols_, 0);
}

QVariant TStringGridModel::data(const QModelIndex& index, int role) const {
    if (!IsItem(index)) return {};
    // The tool tip shows a text whole where the cell cuts it off.
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole) return {};
    const QString text = CellText(grid_, GridCol(index), GridRow(index));
    if (role == Qt::ToolTipRole && text.isEmpty()) return {};
    return text;
}

bool TStringGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !IsItem(index)) return false;
    const int col = GridCol(index);
    const int row = GridRow(index);
    std::string text = value.toString().toStdString();  // UTF-8
    if (grid_.Cell(col, row) == text) return true;
    grid_.SetCell(col, row, std::move(text));
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags TStringGridModel::flags(const QModelIndex& index) const {
    if (!IsItem(index)) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

QVariant TStringGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || section < 0) return {};
    if (orientation == Qt::Horizontal) {
        if (fixedRows_ == 0 || section >= columnCount()) return {};
        return CellText(grid_, section + fixedCols_, 0);
    }
    if (fixedCols_ == 0 || section >= rowCount()) return {};
    return CellText(grid_, 0, section + fixedRows_);
}

}  // namespace trelvanox
