#include "processing/agc_step.h"

#include <cmath>
#include <vector>

#include "processing/sample_window.h"

namespace trelvanox {

void ApplyAgc(const TAgcParams& params, TTraceBlock block) {
    std::vector<double> sums(block.Samples + 1);
    for (std::uint32_t t = 0; t < block.Traces; ++t) {
        const auto row = block.Row(t);
        for (std::uint32_t j = 0; j < block.Samples; ++j)
            sums[j + 1] = sums[j] + double{row[j]} * row[j];
        for (std::uint32_t j = 0; j < block.Samples; ++j) {
            const TWindowCut cut = CutWindow(j, params.Window, block.Samples);
            // A running sum can leave a tiny negative rest where the window holds only zeros.
            const double power = (sums[cut.End] - sums[cut.First]) / (cut.End - cut.First);
            row[j] = power > 0 ? static_cast<float>(row[j] / std::sqrt(power)) : 0.0f;
        }
    }
}

const TStepKind kAgcStep{
    .Name = "agc",
    .Title = "Автоматическая регулировка усиления",
    .ValueCaption = "окно, отсчётов",
    .ValueName = "the window",
    .Value = TValueKind::Odd,
    .Minimum = 1,
    .Maximum = 1023,
    .Default = [](const TRadarHeader&) { return 51.0; },
    .Run = [](double value, const TStepContext&,
              TTraceBlock block) { ApplyAgc({static_cast<std::uint32_t>(value)}, block); },
};

}  // namespace trelvanox
