#pragma once

#include <cstdint>
#include <span>

#include "processing/step_kind.h"
#include "processing/trace_block.h"

namespace trelvanox {

// Background removal: each sample less the mean of the same sample over Traces traces centred
// on its own, the run cut to the profile; 0 takes the mean over all traces. It takes away what
// every trace shares: the air wave and the ringing of the antenna.
struct TBackgroundParams {
    std::uint32_t Traces = 0;
};

// The block is all of the profile that is processed. With Traces 0 the means are columnMeans
// when given (the block being part of the profile), else those of the block itself.
void ApplyBackground(const TBackgroundParams& params, TTraceBlock block,
                     std::span<const double> columnMeans = {});

extern const TStepKind kBackgroundStep;

}  // namespace trelvanox
