#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "common/string_grid.h"

namespace trelvanox {

// The index of every label's colour: the distinct colours get 1, 2, 3, ... in the order in
// which they first occur, and each label carries the index of its colour.
// Example: 255, 16711680, 255, 0, 16711680 give 1, 2, 1, 3, 2.
std::vector<std::int32_t> ReindexLabelColours(std::span<const std::int32_t> colours);

// The table transfer without its warning: copies the first labelCount labels of the read-label
// table (sgReadLabels) into the edit table (sgNewSetsLabels) and re-indexes their colours.
//   - The edit table is emptied below its titles and titled again; it grows to hold every label.
//   - Rows 1 to labelCount get the number, the text and the coordinate as the cells hold them.
//   - Column 3 gets the colour indices. Every colour cell is converted first, so a cell that is
//     not a whole number raises TConversionError with columns 0 to 2 copied and column 3 empty.
void TranslateLabelTable(const TStringGrid& readTable, std::uint32_t labelCount,
                         TStringGrid& editTable);

}  // namespace trelvanox
