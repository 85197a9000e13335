#include "render/colour_table.h"

#include <cstdint>

namespace trelvanox {

namespace {

constexpr std::uint8_t Level(int i) {
    return static_cast<std::uint8_t>(i);
}

constexpr TColourTable MakeGrey() {
    TColourTable table{};
    for (int i = 0; i < 256; ++i) table[i] = {Level(i), Level(i), Level(i)};
    return table;
}

// Linear in each half: entries 0..128 go from blue to white, 128..255 from white to red.
constexpr TColourTable MakeDiverging() {
    TColourTable table{};
    for (int i = 0; i < 256; ++i) {
        if (i <= 128) {
            const int up = (i * 255 + 64) / 128;
            table[i] = {Level(up), Level(up), 255};
        } else {
            const int down = ((255 - i) * 255 + 63) / 127;
            table[i] = {255, Level(down), Level(down)};
        }
    }
    return table;
}

}  // namespace

const TColourTable& ColourTable(TPalette palette) {
    static constexpr TColourTable kGrey = MakeGrey();
    static constexpr TColourTable kDiverging = MakeDiverging();
    return palette == TPalette::Grey ? kGrey : kDiverging;
}

std::optional<TPalette> PaletteByName(std::string_view name) {
    if (name == "grey") return TPalette::Grey;
    if (name == "diverging") return TPalette::Diverging;
    return std::nullopt;
}

}  // namespace trelvanox
