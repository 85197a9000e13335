#include "render/amplitude_scale.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace trelvanox {

namespace {

float LargestAmplitude(const TSampleGrid& grid) {
    float largest = 0.0f;
    for (std::int64_t t = grid.FirstTrace; t < grid.TraceEnd; ++t) {
        const float* row = grid.Row(t);
        for (std::int64_t j = 0; j < grid.SampleCount; ++j)
            largest = std::max(largest, std::fabs(row[j]));  // NaN is passed over
    }
    return std::isfinite(largest) ? largest : 0.0f;
}

}  // namespace

float ClipLevelOf(const TSampleGrid& grid, double percentile) {
    const auto traces =
        static_cast<std::size_t>(std::max<std::int64_t>(grid.TraceEnd - grid.FirstTrace, 0));
    const auto samples = static_cast<std::size_t>(std::max<std::int64_t>(grid.SampleCount, 0));
    const std::size_t total = traces * samples;
    if (total == 0) return 1.0f;

    // An odd stride walks through every sample column of a row of power-of-two length.
    std::size_t stride = (total + kScaleSampleLimit - 1) / kScaleSampleLimit;
    if (stride > 1) stride |= 1;
    std::vector<float> magnitudes;
    magnitudes.reserve(total / stride + 1);
    for (std::size_t i = 0; i < total; i += stride) {
        const float a = std::fabs(
            grid.Row(grid.FirstTrace + static_cast<std::int64_t>(i / samples))[i % samples]);
        if (!std::isnan(a)) magnitudes.push_back(a);
    }
    float level = 0.0f;
    if (!magnitudes.empty()) {
        const double p = std::clamp(percentile, 0.0, 100.0);
        const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * magnitudes.size()));
        const auto at = magnitudes.begin() + static_cast<std::ptrdiff_t>(rank > 0 ? rank - 1 : 0);
        std::nth_element(magnitudes.begin(), at, magnitudes.end());
        level = *at;
    }
    if (level > 0.0f && std::isfinite(level)) return level;
    level = LargestAmplitude(grid);
    return level > 0.0f ? level : 1.0f;
}

float ClipLevelOf(const TRadargram& model, double percentile) {
    return ClipLevelOf(ModelGrid(model), percentile);
}

}  // namespace trelvanox
