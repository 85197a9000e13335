#pragma once

#include <cstdint>

namespace trelvanox {

// The samples j - (W - 1) / 2 .. j + (W - 1) / 2 of an odd window W around sample j, cut to the
// samples 0 .. S - 1 that exist: [First, End).
struct TWindowCut {
    std::uint32_t First = 0;
    std::uint32_t End = 0;
};

inline TWindowCut CutWindow(std::uint32_t j, std::uint32_t window, std::uint32_t count) {
    const std::uint32_t half = (window - 1) / 2;
    const std::uint32_t first = j > half ? j - half : 0;
    const std::uint64_t end = std::uint64_t{j} + half + 1;
    return {first, end < count ? static_cast<std::uint32_t>(end) : count};
}

}  // namespace trelvanox
