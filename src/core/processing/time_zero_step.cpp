#include "processing/time_zero_step.h"

#include <algorithm>

namespace trelvanox {

void ApplyTimeZero(const TTimeZeroParams& params, TTraceBlock block) {
    if (params.Shift == 0) return;
    const std::uint32_t kept = block.Samples > params.Shift ? block.Samples - params.Shift : 0;
    for (std::uint32_t t = 0; t < block.Traces; ++t) {
        const auto row = block.Row(t);
        std::copy(row.begin() + (block.Samples - kept), row.end(), row.begin());
        std::fill(row.begin() + kept, row.end(), 0.0f);
    }
}

const TStepKind kTimeZeroStep{
    .Name = "zero",
    .Title = "Нулевое время",
    .ValueCaption = "Сдвиг, отсчётов",
    .ValueName = "the shift",
    .Value = TValueKind::Whole,
    .Minimum = 0,
    .Maximum = 511,
    .Default = [](const TRadarHeader&) { return 0.0; },
    .Run = [](double value, const TStepContext&,
              TTraceBlock block) { ApplyTimeZero({static_cast<std::uint32_t>(value)}, block); },
};

}  // namespace trelvanox
