#pragma once

#include <cstdint>
#include <vector>

#include "processing/trace_block.h"

namespace trelvanox {

// The mean over an odd window of each sample of each trace of the block (CutWindow: the window
// cut to the samples that exist), of the samples or, with squares, of their squares: means[t x
// Samples + j]. The running sums go over the block's traces side by side, so that the additions
// of one trace do not wait for each other; sums is scratch space kept between blocks.
void WindowMeans(TTraceBlock block, std::uint32_t window, bool squares, std::vector<float>& means,
                 std::vector<double>& sums);

}  // namespace trelvanox
