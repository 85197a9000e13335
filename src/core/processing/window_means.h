#pragma once

#include <cstdint>

#include "processing/trace_block.h"

namespace trelvanox {

// Each sample less the mean of its trace over an odd window centred on it, the window cut to the
// samples that exist (CutWindow).
void SubtractWindowMeans(TTraceBlock block, std::uint32_t window);

// Each sample divided by the root mean square of its trace over the same cut window, 0 where
// that is 0.
void DivideByWindowRms(TTraceBlock block, std::uint32_t window);

}  // namespace trelvanox
