#include "processing/agc_step.h"

#include <cmath>
#include <vector>

#include "processing/sample_window.h"

namespace trelvanox {

void ApplyAgc(const TAgcParams& params, TTraceBlock block) {
    const std::uint32_t samples = block.Samples;
    const std::uint32_t half = (params.Window - 1) / 2;
    // Where the whole window fits, its mean square is one difference of running sums times
    // 1 / Window.
    const std::uint32_t innerFirst = std::min(half, samples);
    const std::uint32_t innerEnd =
        samples > half ? std::max(samples - half, innerFirst) : innerFirst;
    const double inverse = 1.0 / params.Window;
    std::vector<double> sums(samples + 1);
    // A running sum can leave a tiny negative rest where the window holds only zeros.
    const auto scaled = [](float a, double power) {
        return power > 0 ? static_cast<float>(a / std::sqrt(power)) : 0.0f;
    };
    for (std::uint32_t t = 0; t < block.Traces; ++t) {
        const auto row = block.Row(t);
        for (std::uint32_t j = 0; j < samples; ++j) sums[j + 1] = sums[j] + double{row[j]} * row[j];
        const auto cut = [&](std::uint32_t j) {
            const TWindowCut c = CutWindow(j, params.Window, samples);
            row[j] = scaled(row[j], (sums[c.End] - sums[c.First]) / (c.End - c.First));
        };
        for (std::uint32_t j = 0; j < innerFirst; ++j) cut(j);
        for (std::uint32_t j = innerFirst; j < innerEnd; ++j)
            row[j] = scaled(row[j], (sums[j + half + 1] - sums[j - half]) * inverse);
        for (std::uint32_t j = innerEnd; j < samples; ++j) cut(j);
    }
}

const TStepKind kAgcStep{
    .Name = "agc",
    .Title = "Регулировка усиления (АРУ)",
    .ValueCaption = "Окно, отсчётов",
    .ValueName = "the window",
    .Value = TValueKind::Odd,
    .Minimum = 1,
    .Maximum = 1023,
    .Default = [](const TRadarHeader&) { return 51.0; },
    .Run = [](double value, const TStepContext&,
              TTraceBlock block) { ApplyAgc({static_cast<std::uint32_t>(value)}, block); },
};

}  // namespace trelvanox
