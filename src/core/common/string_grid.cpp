#include "common/string_grid.h"

#include <algorithm>
#include <utility>

namespace trelvanox {

namespace {
const std::string kEmpty;
}

TStringGrid::TStringGrid(int colCount, int rowCount) {
    Resize(colCount, rowCount);
}

void TStringGrid::SetColCount(int colCount) {
    Resize(colCount, rowCount_);
}

void TStringGrid::SetRowCount(int rowCount) {
    Resize(colCount_, rowCount);
}

bool TStringGrid::Contains(int col, int row) const {
    return col >= 0 && row >= 0 && col < colCount_ && row < rowCount_;
}

const std::string& TStringGrid::Cell(int col, int row) const {
    return Contains(col, row) ? cells_[static_cast<size_t>(row) * colCount_ + col] : kEmpty;
}

void TStringGrid::SetCell(int col, int row, std::string text) {
    if (Contains(col, row)) cells_[static_cast<size_t>(row) * colCount_ + col] = std::move(text);
}

void TStringGrid::Resize(int colCount, int rowCount) {
    colCount = std::max(colCount, 0);
    rowCount = std::max(rowCount, 0);
    if (colCount == colCount_) {
        cells_.resize(static_cast<size_t>(colCount) * rowCount);
    } else {
        std::vector<std::string> cells(static_cast<size_t>(colCount) * rowCount);
        const int keepCols = std::min(colCount, colCount_);
        const int keepRows = std::min(rowCount, rowCount_);
        for (int row = 0; row < keepRows; ++row)
            for (int col = 0; col < keepCols; ++col)
                cells[static_cast<size_t>(row) * colCount + col] =
                    std::move(cells_[static_cast<size_t>(row) * colCount_ + col]);
        cells_ = std::move(cells);
    }
    colCount_ = colCount;
    rowCount_ = rowCount;
}

void ClearGridCells(TStringGrid& grid, int firstCol, int firstRow) {
    for (int col = std::max(firstCol, 0); col < grid.ColCount(); ++col)
        for (int row = std::max(firstRow, 0); row < grid.RowCount(); ++row)
            grid.SetCell(col, row, std::string());
}

}  // namespace trelvanox
