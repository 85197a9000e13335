#pragma once

#include <cstddef>
#include <cstdint>

#include "model/radargram.h"

namespace trelvanox {

// The samples a picture is drawn from: the model's matrix, or a processed copy of some of its
// traces. Rows of traces [FirstTrace, TraceEnd) exist, each Stride values after the one before;
// the profile has TraceCount traces of SampleCount samples.
struct TSampleGrid {
    const float* Data = nullptr;  // the row of FirstTrace
    std::size_t Stride = 0;
    std::int64_t FirstTrace = 0;
    std::int64_t TraceEnd = 0;
    std::int64_t TraceCount = 0;
    std::int64_t SampleCount = 0;

    const float* Row(std::int64_t t) const {
        return Data + static_cast<std::size_t>(t - FirstTrace) * Stride;
    }
};

// All of the model's traces (after a complete read); sets up the matrix's memory.
TSampleGrid ModelGrid(const TRadargram& model);

}  // namespace trelvanox
