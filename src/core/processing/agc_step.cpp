#include "processing/agc_step.h"

#include "processing/window_means.h"

namespace trelvanox {

void ApplyAgc(const TAgcParams& params, TTraceBlock block) {
    DivideByWindowRms(block, params.Window);
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
