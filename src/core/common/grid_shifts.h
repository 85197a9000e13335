#pragma once

#include "common/string_grid.h"

namespace trelvanox {

// Row and column shifting of a string grid. Whole rows or columns move, title cells included:
// nothing is restored afterwards. Each returns whether it changed the grid; a row or column
// outside the grid changes nothing.

// Adds an empty row below `row`; the rows after it move down by one.
bool InsertGridRow(TStringGrid& grid, int row);
// Removes `row`; the rows below move up by one. Refused when fewer than 2 rows would remain.
bool DeleteGridRow(TStringGrid& grid, int row);
// Adds an empty column, title cell included, right of `col`; the columns after it move right.
bool InsertGridColumn(TStringGrid& grid, int col);
// Removes `col` with its title; the columns right of it move left. Refused when no column would
// remain.
bool DeleteGridColumn(TStringGrid& grid, int col);

}  // namespace trelvanox
