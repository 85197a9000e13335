#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "render/rgb_image.h"

namespace trelvanox {

// How amplitudes become colours: grey runs from black (the most negative shown amplitude)
// through mid-grey (zero) to white; diverging runs from blue through white (zero) to red, so
// that the sign of a reflection reads at a glance.
enum class TPalette { Grey, Diverging };

// 256 entries; entry 0 is the most negative amplitude, 255 the most positive, and zero falls
// between 127 and 128 (an exact zero is shown with entry 128).
using TColourTable = std::array<TRgb, 256>;

const TColourTable& ColourTable(TPalette palette);

// "grey" or "diverging"; nothing for any other name.
std::optional<TPalette> PaletteByName(std::string_view name);

}  // namespace trelvanox
