#include "model/layout_detection.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

#include "model/radar_records.h"

namespace trelvanox {

namespace {

// The label indices are read in runs of traces, so that a maximal file costs a few hundred
// reads of a few hundred kilobytes each, not one read per trace.
constexpr std::uint64_t kTracesPerRun = 1024;

bool SizeFits(const TRadarHeader& header, std::uint64_t size, TRadarLayout layout) {
    const TLayoutGeometry g = ComputeGeometry(header.TraceCount, header.SampleCount, layout);
    const std::uint64_t full =
        g.LabelStart + header.LabelCount * std::uint64_t{sizeof(TLabelRecord)};
    if (size == full) return true;
    return header.LabelCount == 0 &&
           size == RequiredFileSize(header.TraceCount, header.SampleCount, 0, layout);
}

bool IndicesFit(std::ifstream& file, const TRadarHeader& header, TRadarLayout layout) {
    const TLayoutGeometry g = ComputeGeometry(header.TraceCount, header.SampleCount, layout);
    const std::uint64_t highest = std::uint64_t{header.LabelCount} + 1;
    std::vector<char> run;
    for (std::uint64_t first = 0; first < header.TraceCount; first += kTracesPerRun) {
        const std::uint64_t count =
            std::min<std::uint64_t>(kTracesPerRun, header.TraceCount - first);
        const std::uint64_t bytes = (count - 1) * g.TraceStride + sizeof(TTraceHeader);
        run.resize(bytes);
        file.seekg(static_cast<std::streamoff>(g.TraceOffset(first)));
        if (!file.read(run.data(), static_cast<std::streamsize>(bytes))) return false;
        for (std::uint64_t t = 0; t < count; ++t) {
            std::uint32_t index = 0;
            std::memcpy(&index, run.data() + t * g.TraceStride + offsetof(TTraceHeader, LabelIndex),
                        sizeof index);
            if (index > highest) return false;
        }
    }
    return true;
}

}  // namespace

std::optional<TLayoutFit> CheckLayoutFit(const std::filesystem::path& path) {
    std::error_code error;
    const std::uint64_t size = std::filesystem::file_size(path, error);
    if (error) return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    TRadarHeader header{};
    if (!file.read(reinterpret_cast<char*>(&header), sizeof header)) return std::nullopt;
    // Counts the model cannot hold fit no layout; the read refuses them with its own message.
    if (header.TraceCount > kMaxTraces || header.SampleCount > kMaxSamples ||
        header.LabelCount > header.TraceCount)
        return TLayoutFit{};
    const auto fits = [&](TRadarLayout layout) {
        if (!SizeFits(header, size, layout)) return false;
        file.clear();
        return IndicesFit(file, header, layout);
    };
    return TLayoutFit{.Gpr = fits(TRadarLayout::Gpr), .Gpr2 = fits(TRadarLayout::Gpr2)};
}

std::optional<TRadarLayout> OtherFittingLayout(const TLayoutFit& fit, TRadarLayout chosen) {
    const TRadarLayout other = chosen == TRadarLayout::Gpr ? TRadarLayout::Gpr2 : TRadarLayout::Gpr;
    if (fit.Fits(chosen) || !fit.Fits(other)) return std::nullopt;
    return other;
}

const char* LayoutName(TRadarLayout layout) {
    return layout == TRadarLayout::Gpr ? "GPR" : "GPR2";
}

}  // namespace trelvanox
