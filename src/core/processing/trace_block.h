#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace trelvanox {

// Consecutive traces of a processing buffer: Traces rows of Samples values, each row Stride
// values after the one before. Steps change the rows in place.
struct TTraceBlock {
    float* Data = nullptr;
    std::size_t Stride = 0;
    std::uint32_t Traces = 0;
    std::uint32_t Samples = 0;

    std::span<float> Row(std::uint32_t t) const { return {Data + t * Stride, Samples}; }
};

// What a step knows of the profile besides its block.
struct TStepContext {
    std::uint32_t SampleCount = 0;
    double NsPerSample = 0;  // RecordTime / SampleCount
    // The step's own precomputed tables (TStepKind::Prepare), shared by every block of one run.
    const void* Plan = nullptr;
    // For a step that needs the whole profile (TStepKind::NeedsWholeProfile) when its block is
    // only part of it: the mean of its input over all traces, per sample. Empty when the block
    // is the whole profile.
    std::span<const double> ColumnMeans;
};

}  // namespace trelvanox
