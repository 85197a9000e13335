#pragma once

#include <cstdint>

#include "processing/step_kind.h"
#include "processing/trace_block.h"

namespace trelvanox {

// Dewow: each sample less the mean of the trace over an odd Window of samples centred on it,
// the window cut to the samples that exist. It takes away the slow drift ("wow") of the antenna.
struct TDewowParams {
    std::uint32_t Window = 15;
};

void ApplyDewow(const TDewowParams& params, TTraceBlock block);

// One period of the antenna's centre frequency in samples (odd), when the antenna's name gives
// the frequency in MHz (as "АБ-400" or "1200 МГц"); else 15.
double DefaultDewowWindow(const TRadarHeader& header);

extern const TStepKind kDewowStep;

}  // namespace trelvanox
