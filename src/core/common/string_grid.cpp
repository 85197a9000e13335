#include "common/string_grid.h"

#include <algorithm>
#include <utility>

namespace trelvanox {

namespace {

const std::string kEmpty;

// Drops the empty cells at the end of a row, so that it stores no more than it must; a row left
// without cells gives its memory back.
void TrimRow(std::vector<std::string>& cells) {
    while (!cells.empty() && cells.back().empty()) cells.pop_back();
    if (cells.empty()) cells.shrink_to_fit();
}

}  // namespace

TStringGrid::TStringGrid(int colCount, int rowCount)
    : colCount_(std::max(colCount, 0)), rowCount_(std::max(rowCount, 0)) {}

void TStringGrid::SetColCount(int colCount) {
    colCount_ = std::max(colCount, 0);
    for (std::vector<std::string>& cells : rows_) {
        if (cells.size() > static_cast<std::size_t>(colCount_)) {
            cells.resize(static_cast<std::size_t>(colCount_));
            TrimRow(cells);
        }
    }
    DropTrailingEmptyRows();
}

void TStringGrid::SetRowCount(int rowCount) {
    rowCount_ = std::max(rowCount, 0);
    if (rows_.size() > static_cast<std::size_t>(rowCount_)) {
        rows_.resize(static_cast<std::size_t>(rowCount_));
        DropTrailingEmptyRows();
    }
}

bool TStringGrid::Contains(int col, int row) const {
    return col >= 0 && row >= 0 && col < colCount_ && row < rowCount_;
}

const std::string& TStringGrid::Cell(int col, int row) const {
    if (!Contains(col, row) || static_cast<std::size_t>(row) >= rows_.size()) return kEmpty;
    const std::vector<std::string>& cells = rows_[static_cast<std::size_t>(row)];
    return static_cast<std::size_t>(col) < cells.size() ? cells[static_cast<std::size_t>(col)]
                                                        : kEmpty;
}

void TStringGrid::SetCell(int col, int row, std::string text) {
    if (!Contains(col, row)) return;
    const auto r = static_cast<std::size_t>(row);
    const auto c = static_cast<std::size_t>(col);
    if (text.empty()) {
        // An empty cell past the end of its row is already what the row reads as.
        if (r >= rows_.size() || c >= rows_[r].size()) return;
        rows_[r][c].clear();
        TrimRow(rows_[r]);
        DropTrailingEmptyRows();
        return;
    }
    if (r >= rows_.size()) rows_.resize(r + 1);
    if (c >= rows_[r].size()) rows_[r].resize(c + 1);
    rows_[r][c] = std::move(text);
}

void ClearGridCells(TStringGrid& grid, int firstCol, int firstRow) {
    const auto fromCol = static_cast<std::size_t>(std::max(firstCol, 0));
    auto& rows = grid.rows_;
    for (std::size_t r = static_cast<std::size_t>(std::max(firstRow, 0)); r < rows.size(); ++r) {
        std::vector<std::string>& cells = rows[r];
        if (cells.size() > fromCol) {
            cells.resize(fromCol);
            TrimRow(cells);
        }
    }
    grid.DropTrailingEmptyRows();
}

std::size_t TStringGrid::CellCapacity() const {
    std::size_t count = 0;
    for (const std::vector<std::string>& cells : rows_) count += cells.capacity();
    return count;
}

void TStringGrid::DropTrailingEmptyRows() {
    while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
}

}  // namespace trelvanox
