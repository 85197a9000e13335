#include "processing/time_gain_step.h"

#include <cmath>

#include "common/program_error.h"

namespace trelvanox {

std::vector<float> TimeGains(const TTimeGainParams& params, std::uint32_t sampleCount,
                             double nsPerSample) {
    if (!(nsPerSample > 0) && sampleCount > 0)
        throw TProgramError("tpow: the file's recording time is 0, so its samples have no time");
    std::vector<float> gains(sampleCount);
    for (std::uint32_t j = 0; j < sampleCount; ++j)
        gains[j] = static_cast<float>(std::pow((j + 1) * nsPerSample, params.Power));
    return gains;
}

void ApplyTimeGain(std::span<const float> gains, TTraceBlock block) {
    for (std::uint32_t t = 0; t < block.Traces; ++t) {
        const auto row = block.Row(t);
        for (std::uint32_t j = 0; j < block.Samples; ++j) row[j] *= gains[j];
    }
}

const TStepKind kTimeGainStep{
    .Name = "tpow",
    .Title = "Усиление по времени",
    .ValueCaption = "Степень времени (время в нс)",
    .ValueName = "the power",
    .Value = TValueKind::Real,
    .Minimum = 0,
    .Maximum = 5,
    .Decimals = 2,
    .Default = [](const TRadarHeader&) { return 1.0; },
    .Prepare = [](double value, const TStepContext& context) -> std::shared_ptr<const void> {
        return std::make_shared<const std::vector<float>>(
            TimeGains({value}, context.SampleCount, context.NsPerSample));
    },
    .Run =
        [](double, const TStepContext& context, TTraceBlock block) {
            ApplyTimeGain(*static_cast<const std::vector<float>*>(context.Plan), block);
        },
};

}  // namespace trelvanox
