#pragma once

#include <cstdint>
#include <string>

#include "common/string_grid.h"
#include "model/radargram.h"

namespace trelvanox {

// sgReadLabels: one row per labelled trace below the title row.
enum class TReadLabelColumn { Number, Trace, Text, Coordinate, Color, Chainage, Count };
constexpr int kReadLabelRows = 6000;

// Titles of row 0.
void SetReadLabelCaptions(TStringGrid& grid);

// The three counts shown below the table, as texts.
struct TReadLabelCounts {
    std::string Total;        // ltxtNLabels
    std::string WithText;     // ltxtNLabelsWithText
    std::string WithoutText;  // ltxtNLabelsNoText
};

// Captions, then rows 1 to LabelTotal from the model (the grid grows when the file has more
// labelled traces than it has rows); returns the counts. Expects a model after a complete read.
TReadLabelCounts FillReadLabelTable(TStringGrid& grid, const TRadargram& model);

// The text of the label record that a trace's LabelIndex (>= 2) names; empty when it names no
// slot.
std::string LabelTextOf(const TRadargram& model, std::uint32_t labelIndex);
// The stored colour (0x00BBGGRR) of the label in table row (1-based): that of label record
// row - 1, whatever record the row's text comes from; 0 when there is no such slot.
std::uint32_t LabelColorOf(const TRadargram& model, std::uint32_t row);

// "ПК<picket>+<metres>" for a trace coordinate and the header's start coordinate, both in mm.
std::string ChainageText(std::int32_t coordinate, std::int64_t startCoordinate);

}  // namespace trelvanox
