#pragma once

#include "common/string_grid.h"

namespace trelvanox {

// sgNewSetsLabels: the table in which the user prepares new label texts, coordinates and colour
// indices; row 0 holds the titles, there is no fixed column.
enum class TEditTableColumn { Number, Text, Coordinate, ColorIndex, Count };
constexpr int kEditTableRows = 8000;

// Titles of row 0.
void SetEditTableCaptions(TStringGrid& grid);

}  // namespace trelvanox
