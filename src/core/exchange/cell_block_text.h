#pragma once

#include <string>
#include <string_view>

#include "common/string_grid.h"

namespace trelvanox {

// A rectangle of cells, inclusive at both ends, in grid coordinates.
struct TCellBlock {
    int FirstCol = 0;
    int FirstRow = 0;
    int LastCol = 0;
    int LastRow = 0;
};

// Ctrl+C and Ctrl+V of the tables: a block of cells as the text other programs' tables copy
// and paste. Texts are UTF-8.

// The block's rows, each ended by CR LF, their cells joined by TAB (no quoting).
std::string BuildCellBlockText(const TStringGrid& grid, const TCellBlock& block);

// Puts the text into the grid with its first cell at (col, row): the lines (split at CR LF or a
// lone LF; a last line end adds no empty row) go down, their cells (split at TAB) right. Rows
// grow as far as the text needs; cells beyond the grid's last column are dropped, since a
// table's columns each hold one kind of value. Cells the text does not reach keep their
// contents. Returns the block written, or an empty block (LastRow < FirstRow) for an empty text.
TCellBlock PasteCellBlockText(TStringGrid& grid, int col, int row, std::string_view text);

}  // namespace trelvanox
