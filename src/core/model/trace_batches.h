#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/radar_layout.h"
#include "model/radar_records.h"

namespace trelvanox::detail {

// Traces travel in runs of this many per system call: large enough that the call overhead
// vanishes, small enough that a run's slices fit one scatter/gather call.
constexpr std::uint32_t kTracesPerBatch = 256;

// Moves traces [0, count) in runs: for each run, builds the slices trace header, sample row and,
// where gapOf returns a place, the gap after the trace, and hands them with the run's file offset
// to transfer. Byte is std::byte for reading and const std::byte for writing.
template <typename Byte, typename HeaderOf, typename RowOf, typename GapOf, typename Transfer>
bool TransferTraces(const TLayoutGeometry& g, std::uint32_t count, HeaderOf headerOf, RowOf rowOf,
                    GapOf gapOf, Transfer transfer) {
    std::vector<std::span<Byte>> slices;
    slices.reserve(3 * kTracesPerBatch);
    for (std::uint32_t first = 0; first < count; first += kTracesPerBatch) {
        const std::uint32_t last = std::min(count, first + kTracesPerBatch);
        slices.clear();
        for (std::uint32_t t = first; t < last; ++t) {
            slices.emplace_back(headerOf(t), sizeof(TTraceHeader));
            slices.emplace_back(rowOf(t), g.SampleBytes);
            if (Byte* gap = gapOf(t)) slices.emplace_back(gap, g.TraceGap);
        }
        if (!transfer(g.TraceOffset(first), std::span<const std::span<Byte>>(slices))) return false;
    }
    return true;
}

template <typename T>
std::span<std::byte> BytesOf(T& value) {
    return std::as_writable_bytes(std::span(&value, 1));
}

template <typename T>
std::span<const std::byte> BytesOf(const T& value) {
    return std::as_bytes(std::span(&value, 1));
}

}  // namespace trelvanox::detail
