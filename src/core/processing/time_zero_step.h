#pragma once

#include <cstdint>

#include "processing/step_kind.h"
#include "processing/trace_block.h"

namespace trelvanox {

// Time zero: each trace moves up by Shift samples, out[j] = in[j + Shift], and the samples
// moved in at the bottom are 0.
struct TTimeZeroParams {
    std::uint32_t Shift = 0;
};

void ApplyTimeZero(const TTimeZeroParams& params, TTraceBlock block);

extern const TStepKind kTimeZeroStep;

}  // namespace trelvanox
