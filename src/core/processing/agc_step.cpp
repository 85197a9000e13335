#include "processing/agc_step.h"

#include <cmath>
#include <vector>

#include "processing/window_means.h"

namespace trelvanox {

void ApplyAgc(const TAgcParams& params, TTraceBlock block) {
    std::vector<float> power;
    std::vector<double> sums;
    WindowMeans(block, params.Window, true, power, sums);
    for (std::uint32_t t = 0; t < block.Traces; ++t) {
        const auto row = block.Row(t);
        const float* p = power.data() + std::size_t{t} * block.Samples;
        // A running sum can leave a tiny negative rest where the window holds only zeros. The
        // choice is made on the operands rather than the result, so that the loop vectorises.
        for (std::uint32_t j = 0; j < block.Samples; ++j) {
            const float q = p[j];
            const float keep = q > 0 ? 1.0f : 0.0f;
            row[j] = row[j] * keep / std::sqrt(q > 0 ? q : 1.0f);
        }
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
