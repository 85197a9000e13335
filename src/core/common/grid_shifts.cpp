#include "common/grid_shifts.h"

#include <limits>
#include <string>

namespace trelvanox {

namespace {

constexpr int kMinRowsLeft = 2;  // the title row and one row to edit
constexpr int kMinColumnsLeft = 1;

void CopyRow(TStringGrid& grid, int from, int to) {
    for (int col = 0; col < grid.ColCount(); ++col) grid.SetCell(col, to, grid.Cell(col, from));
}

void CopyColumn(TStringGrid& grid, int from, int to) {
    for (int row = 0; row < grid.RowCount(); ++row) grid.SetCell(to, row, grid.Cell(from, row));
}

}  // namespace

bool InsertGridRow(TStringGrid& grid, int row) {
    const int count = grid.RowCount();
    if (row < 0 || row >= count || count == std::numeric_limits<int>::max()) return false;
    grid.SetRowCount(count + 1);
    for (int k = count; k >= row + 2; --k) CopyRow(grid, k - 1, k);
    for (int col = 0; col < grid.ColCount(); ++col) grid.SetCell(col, row + 1, std::string());
    return true;
}

bool DeleteGridRow(TStringGrid& grid, int row) {
    const int count = grid.RowCount();
    if (row < 0 || row >= count || count - 1 < kMinRowsLeft) return false;
    for (int i = row; i <= count - 2; ++i) CopyRow(grid, i + 1, i);
    grid.SetRowCount(count - 1);
    return true;
}

bool InsertGridColumn(TStringGrid& grid, int col) {
    const int count = grid.ColCount();
    if (col < 0 || col >= count || count == std::numeric_limits<int>::max()) return false;
    grid.SetColCount(count + 1);
    for (int k = count; k >= col + 2; --k) CopyColumn(grid, k - 1, k);
    for (int row = 0; row < grid.RowCount(); ++row) grid.SetCell(col + 1, row, std::string());
    return true;
}

bool DeleteGridColumn(TStringGrid& grid, int col) {
    const int count = grid.ColCount();
    if (col < 0 || col >= count || count - 1 < kMinColumnsLeft) return false;
    for (int i = col; i <= count - 2; ++i) CopyColumn(grid, i + 1, i);
    grid.SetColCount(count - 1);
    return true;
}

}  // namespace trelvanox
