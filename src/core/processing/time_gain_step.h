#pragma once

#include <span>
#include <vector>

#include "processing/step_kind.h"
#include "processing/trace_block.h"

namespace trelvanox {

// Time gain: each sample times its time to the power Power, out[j] = in[j] * ((j + 1) * dt)^Power
// with dt the time of one sample in ns. It makes up for the spreading and the losses that fade
// the deep reflections.
struct TTimeGainParams {
    double Power = 1.0;
};

// The factor of each of sampleCount samples; throws TProgramError when the profile gives time
// no scale (a recording time of 0).
std::vector<float> TimeGains(const TTimeGainParams& params, std::uint32_t sampleCount,
                             double nsPerSample);
void ApplyTimeGain(std::span<const float> gains, TTraceBlock block);

extern const TStepKind kTimeGainStep;

}  // namespace trelvanox
