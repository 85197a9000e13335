#include "render/sample_grid.h"

#include <algorithm>

namespace trelvanox {

TSampleGrid ModelGrid(const TRadargram& model) {
    TSampleGrid grid;
    grid.TraceCount =
        std::min<std::int64_t>(model.Header().TraceCount, model.TraceHeaders().size());
    grid.SampleCount = std::min(model.Header().SampleCount, kMaxSamples);
    grid.TraceEnd = grid.TraceCount;
    grid.Stride = TSampleMatrix::kRowLength;
    if (grid.TraceCount > 0) grid.Data = model.SampleMatrix().Row(0).data();
    return grid;
}

}  // namespace trelvanox
