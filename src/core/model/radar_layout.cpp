#include "model/radar_layout.h"

#include "model/radar_records.h"

namespace trelvanox {

TLayoutGeometry ComputeGeometry(std::uint32_t traceCount, std::uint32_t sampleCount,
                                TRadarLayout layout) {
    TLayoutGeometry g{};
    const bool gpr2 = layout == TRadarLayout::Gpr2;
    g.SampleBytes = 4ull * sampleCount;
    g.TraceStart = kSampleTableOffset + g.SampleBytes;
    g.TraceBytes = sizeof(TTraceHeader) + g.SampleBytes;
    g.TraceGap = gpr2 ? kTraceGapSize : 0;
    g.TailGap = gpr2 ? kTailGapSize : 0;
    g.TraceStride = g.TraceBytes + g.TraceGap;
    g.LabelStart = g.TraceStart + traceCount * g.TraceStride + g.TailGap;
    return g;
}

std::uint64_t RequiredFileSize(std::uint32_t traceCount, std::uint32_t sampleCount,
                               std::uint32_t labelCount, TRadarLayout layout) {
    const TLayoutGeometry g = ComputeGeometry(traceCount, sampleCount, layout);
    if (labelCount > 0) return g.LabelStart + labelCount * std::uint64_t{sizeof(TLabelRecord)};
    if (traceCount > 0) return g.TraceOffset(traceCount - 1) + g.TraceBytes;
    return g.TraceStart;
}

}  // namespace trelvanox
