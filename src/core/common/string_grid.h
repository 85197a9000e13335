#pragma once

#include <string>
#include <vector>

namespace trelvanox {

// A table of texts addressed by column and row, the data behind every string grid of the
// program. A cell outside the current size reads as the empty text; writing one is a no-op.
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

  private:
    bool Contains(int col, int row) const;
    void Resize(int colCount, int rowCount);

    int colCount_ = 0;
    int rowCount_ = 0;
    std::vector<std::string> cells_;  // row-major
};

// Empties every cell from firstCol to the last column and from firstRow to the last row.
void ClearGridCells(TStringGrid& grid, int firstCol, int firstRow);

}  // namespace trelvanox
