#include "render/amplitude_scale.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace trelvanox {

namespace {

float LargestAmplitude(const TRadargram& model, std::uint32_t traces, std::uint32_t samples) {
    float largest = 0.0f;
    for (std::uint32_t t = 0; t < traces; ++t) {
        const auto row = model.SampleMatrix().Row(t).first(samples);
        for (const float a : row) largest = std::max(largest, std::fabs(a));  // NaN is passed over
    }
    return std::isfinite(largest) ? largest : 0.0f;
}

}  // namespace

float ClipLevelOf(const TRadargram& model, double percentile) {
    const std::uint32_t traces =
        std::min<std::uint32_t>(model.Header().TraceCount, model.TraceHeaders().size());
    const std::uint32_t samples = std::min(model.Header().SampleCount, kMaxSamples);
    const std::size_t total = std::size_t{traces} * samples;
    if (total == 0) return 1.0f;

    // An odd stride walks through every sample column of a row of power-of-two length.
    std::size_t stride = (total + kScaleSampleLimit - 1) / kScaleSampleLimit;
    if (stride > 1) stride |= 1;
    std::vector<float> magnitudes;
    magnitudes.reserve(total / stride + 1);
    for (std::size_t i = 0; i < total; i += stride) {
        const float a = std::fabs(model.SampleMatrix().Row(i / samples)[i % samples]);
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
    level = LargestAmplitude(model, traces, samples);
    return level > 0.0f ? level : 1.0f;
}

}  // namespace trelvanox
