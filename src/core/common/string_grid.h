#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace trelvanox {

// A table of texts addressed by column and row, the data behind every string grid of the
// program. A cell outside the current size reads as the empty text; writing one is a no-op.
//
// The row and column counts are only bounds: a row keeps the cells up to the last one written
// with a text, and the rows up to the last one that holds a cell. So a grid of 8000 rows costs
// little until it is filled, and one wide line widens the grid without giving every other row
// cells of its own: memory follows what was put in.
class TStringGrid {
  public:
    TStringGrid(int colCount, int rowCount);

    int ColCount() const { return colCount_; }
    int RowCount() const { return rowCount_; }
    // Resizing keeps the cells that stay inside the grid; new cells are empty.
    void SetColCount(int colCount);
    void SetRowCount(int rowCount);

    const std::string& Cell(int col, int row) const;
    void SetCell(int col, int row, std::string text);

    // How many cells the grid holds memory for: cells that were never given a text cost
    // nothing, so this is the measure of its memory.
    std::size_t CellCapacity() const;

  private:
    friend void ClearGridCells(TStringGrid& grid, int firstCol, int firstRow);

    bool Contains(int col, int row) const;
    void DropTrailingEmptyRows();

    int colCount_ = 0;
    int rowCount_ = 0;
    std::vector<std::vector<std::string>> rows_;  // only up to the last row that holds a cell
};

// Empties every cell from firstCol to the last column and from firstRow to the last row.
void ClearGridCells(TStringGrid& grid, int firstCol, int firstRow);

}  // namespace trelvanox
