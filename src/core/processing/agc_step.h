#pragma once

#include <cstdint>

#include "processing/step_kind.h"
#include "processing/trace_block.h"

namespace trelvanox {

// Automatic gain control: each sample divided by the root mean square of the trace over an odd
// Window of samples centred on it (cut to the samples that exist), 0 where that is 0. Weak and
// strong parts of a trace come out alike.
struct TAgcParams {
    std::uint32_t Window = 51;
};

void ApplyAgc(const TAgcParams& params, TTraceBlock block);

extern const TStepKind kAgcStep;

}  // namespace trelvanox
