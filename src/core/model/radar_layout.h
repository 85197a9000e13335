#pragma once

#include <cstdint>

namespace trelvanox {

// The file does not say which layout it has: every read and write takes it from the layout
// setting at that moment.
enum class TRadarLayout { Gpr, Gpr2 };

// 0 is GPR; every other value, -1 (nothing chosen) included, is GPR2.
constexpr TRadarLayout LayoutFromFormatIndex(std::int32_t formatIndex) {
    return formatIndex == 0 ? TRadarLayout::Gpr : TRadarLayout::Gpr2;
}

constexpr std::uint32_t kMaxTraces = 200000;
constexpr std::uint32_t kMaxSamples = 512;

constexpr std::uint64_t kHeaderOffset = 0;
constexpr std::uint64_t kBlockOffset = 512;
constexpr std::uint64_t kSampleTableOffset = 1536;
constexpr std::uint64_t kTraceGapSize = 8;  // GPR2: zero delimiter after every trace
constexpr std::uint64_t kTailGapSize = 4;   // GPR2: after the last trace

// Where everything lies in a file of the given counts and layout.
struct TLayoutGeometry {
    std::uint64_t SampleBytes;  // 4 * SampleCount: one row of samples, also the sample table
    std::uint64_t TraceStart;   // offset of trace 0
    std::uint64_t TraceBytes;   // one trace header and its samples
    std::uint64_t TraceStride;  // TraceBytes plus the gap after each trace
    std::uint64_t TraceGap;     // 0 or 8
    std::uint64_t TailGap;      // 0 or 4
    std::uint64_t LabelStart;   // offset of label record 0

    std::uint64_t TraceOffset(std::uint64_t t) const { return TraceStart + t * TraceStride; }
};

TLayoutGeometry ComputeGeometry(std::uint32_t traceCount, std::uint32_t sampleCount,
                                TRadarLayout layout);

// The file length a reader needs: the end of the last block it reads. The gaps after the last
// trace are only passed over, so a file may end before them when it holds no label records.
std::uint64_t RequiredFileSize(std::uint32_t traceCount, std::uint32_t sampleCount,
                               std::uint32_t labelCount, TRadarLayout layout);

}  // namespace trelvanox
