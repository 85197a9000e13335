#include "processing/window_means.h"

#include <algorithm>

#include "processing/sample_window.h"

namespace trelvanox {

void WindowMeans(TTraceBlock block, std::uint32_t window, bool squares, std::vector<float>& means,
                 std::vector<double>& sums) {
    const std::uint32_t traces = block.Traces;
    const std::uint32_t samples = block.Samples;
    sums.assign(std::size_t{samples + 1} * traces, 0.0);
    means.resize(std::size_t{traces} * samples);
    // sums[j x traces + t]: the sum of trace t's first j values.
    for (std::uint32_t j = 0; j < samples; ++j) {
        const double* before = sums.data() + std::size_t{j} * traces;
        double* after = sums.data() + std::size_t{j + 1} * traces;
        for (std::uint32_t t = 0; t < traces; ++t) {
            const double x = block.Data[t * block.Stride + j];
            after[t] = before[t] + (squares ? x * x : x);
        }
    }
    const std::uint32_t half = (window - 1) / 2;
    // Where the whole window fits, its sum is one difference of running sums times 1 / window.
    const std::uint32_t innerFirst = std::min(half, samples);
    const std::uint32_t innerEnd =
        samples > half ? std::max(samples - half, innerFirst) : innerFirst;
    const double inverse = 1.0 / window;
    for (std::uint32_t t = 0; t < traces; ++t) {
        float* out = means.data() + std::size_t{t} * samples;
        const auto sum = [&](std::uint32_t j) { return sums[std::size_t{j} * traces + t]; };
        const auto cut = [&](std::uint32_t j) {
            const TWindowCut c = CutWindow(j, window, samples);
            out[j] = static_cast<float>((sum(c.End) - sum(c.First)) / (c.End - c.First));
        };
        for (std::uint32_t j = 0; j < innerFirst; ++j) cut(j);
        for (std::uint32_t j = innerFirst; j < innerEnd; ++j)
            out[j] = static_cast<float>((sum(j + half + 1) - sum(j - half)) * inverse);
        for (std::uint32_t j = innerEnd; j < samples; ++j) cut(j);
    }
}

}  // namespace trelvanox
