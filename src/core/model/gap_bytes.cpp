#include "model/gap_bytes.h"

#include <algorithm>
#include <vector>

#include "model/trace_batches.h"

namespace trelvanox::detail {

bool ReadAvailable(TRadarFile& file, std::uint64_t fileSize, std::uint64_t offset,
                   std::span<std::uint8_t> out) {
    std::fill(out.begin(), out.end(), 0);
    if (offset >= fileSize) return true;
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), fileSize - offset));
    const std::span<std::byte> slice = std::as_writable_bytes(out.first(n));
    return file.ReadAt(offset, std::span(&slice, 1));
}

bool LoadGapBytes(TRadarFile& file, const TLayoutGeometry& g, std::uint32_t traceCount,
                  std::uint32_t sampleCount, TGapBytes& gaps) {
    gaps.Valid = false;
    const TFileStamp stamp = file.Stamp();
    gaps.AfterTraces.assign(std::size_t{traceCount} * kTraceGapSize, 0);

    // Traces whose whole gap lies inside the file come in runs; the trace data they pass through
    // lands in one scratch buffer that is overwritten again and again.
    const std::uint32_t whole = static_cast<std::uint32_t>(std::min<std::uint64_t>(
        traceCount, stamp.Size >= g.TraceStart ? (stamp.Size - g.TraceStart) / g.TraceStride : 0));
    std::vector<std::byte> scratch(g.TraceBytes);
    auto* gapBase = reinterpret_cast<std::byte*>(gaps.AfterTraces.data());
    const bool ok = TransferTraces<std::byte>(
        g, whole, [&](std::uint32_t) { return scratch.data(); },
        [&](std::uint32_t) { return scratch.data() + sizeof(TTraceHeader); },
        [&](std::uint32_t t) { return gapBase + std::size_t{t} * kTraceGapSize; },
        [&](std::uint64_t offset, TReadSlices slices) { return file.ReadAt(offset, slices); });
    if (!ok) return false;
    for (std::uint32_t t = whole; t < traceCount; ++t) {
        const auto gap =
            std::span(gaps.AfterTraces).subspan(std::size_t{t} * kTraceGapSize, kTraceGapSize);
        if (!ReadAvailable(file, stamp.Size, g.TraceOffset(t) + g.TraceBytes, gap)) return false;
    }
    if (!ReadAvailable(file, stamp.Size, g.TraceOffset(traceCount), gaps.Tail)) return false;

    gaps.Valid = true;
    gaps.Stamp = stamp;
    gaps.TraceCount = traceCount;
    gaps.SampleCount = sampleCount;
    return true;
}

}  // namespace trelvanox::detail
