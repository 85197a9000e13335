#pragma once

#include <array>
#include <cstdint>

#include "common/string_grid.h"
#include "model/radargram.h"

namespace trelvanox {

// The colour index map: the colour (0x00BBGGRR) of each index 1 to 14, entry 0 holding index 1.
using TColourMap = std::array<std::uint32_t, 14>;

// The colours the map holds until the user changes them.
inline constexpr TColourMap kStartColourMap = {
    0x00FF0000,  // 1 blue
    0x00800000,  // 2 navy
    0x00000000,  // 3 black
    0x00000080,  // 4 maroon
    0x00008080,  // 5 olive
    0x00FF00FF,  // 6 fuchsia
    0x000000FF,  // 7 red
    0x00000000,  // 8 black
    0x00000000,  // 9 black
    0x000000FF,  // 10 red
    0x0000FF00,  // 11 lime
    0x0000FFFF,  // 12 yellow
    0x00FF00FF,  // 13 fuchsia
    0x00000080,  // 14 maroon
};

// Which parts of the labels the write-back changes (ChangeLabelText, ChangeLabelCoord,
// ChangeLabelColor of the settings).
struct TLabelScope {
    bool Text = true;
    bool Coord = true;
    bool Color = true;
};

// The colour of an index of the edit table: the map's entry for 1 to 14, red (255) otherwise.
std::uint32_t ColourForIndex(std::int32_t index, const TColourMap& map);

// Applies the edit table to the labels: label k (in trace order, from 0) takes its text, colour
// index and coordinate in whole metres from row firstRow + k; rows outside the grid read as
// empty. Sets LabelCount to LabelTotal, writes texts (cut to 39 characters, LabelNumber k + 2)
// and colours as the scope allows, renumbers the labelled traces 2, 3, 4, ... whatever the scope,
// and sets their coordinates to the metres x 1000.
// Every cell needed is converted before the model changes: colour cells in label order, then
// coordinate cells; the first that is not a whole number throws TConversionError
// ("'<text>' is not a valid integer value") and leaves the model as it was, as does a coordinate
// whose millimetres do not fit 32 bits (beyond +-2147483 m). Requires a header; without one it
// does nothing.
void WriteBackLabels(TRadargram& model, const TStringGrid& grid, std::int32_t firstRow,
                     TLabelScope scope, const TColourMap& colours);

}  // namespace trelvanox
