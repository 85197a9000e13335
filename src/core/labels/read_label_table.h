#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

// One label row of the table as values.
struct TReadLabelRow {
    std::uint32_t Trace = 0;          // zero-based trace index
    std::int32_t Coordinate = 0;      // the trace's Coordinate, mm
    std::optional<std::string> Text;  // UTF-8; none for a label without text
    std::uint32_t Color = 0;          // LabelColor of the row's record (0x00BBGGRR)
};

// The label rows the table shows, in order (row i of the table is element i - 1). Expects a
// model after a complete read; nothing before one.
std::vector<TReadLabelRow> ReadLabelRows(const TRadargram& model);

// Captions, then rows 1 to LabelTotal from the model (the grid grows when the file has more
// labelled traces than it has rows); returns the counts. Expects a model after a complete read.
TReadLabelCounts FillReadLabelTable(TStringGrid& grid, const TRadargram& model);

// "ПК<picket>+<metres>" for a trace coordinate and the header's start coordinate, both in mm.
std::string ChainageText(std::int32_t coordinate, std::int64_t startCoordinate);

}  // namespace trelvanox
