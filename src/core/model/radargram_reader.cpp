#include <system_error>

#include "model/gap_bytes.h"
#include "model/radargram_io.h"
#include "model/trace_batches.h"

namespace trelvanox {

namespace {

using detail::BytesOf;

bool CountsFit(const TRadarHeader& h) {
    return h.TraceCount <= kMaxTraces && h.SampleCount <= kMaxSamples &&
           h.LabelCount <= h.TraceCount;
}

void CountLabels(TRadargramContents& c) {
    c.LabelTotal = c.LabelsWithText = c.LabelsWithoutText = 0;
    for (const TTraceHeader& trace : c.TraceHeaders) {
        if (trace.LabelIndex == 0) continue;
        ++c.LabelTotal;
        if (trace.LabelIndex == 1)
            ++c.LabelsWithoutText;
        else
            ++c.LabelsWithText;
    }
}

}  // namespace

TReadResult ReadRadargram(TRadargram& model, const std::filesystem::path& path,
                          TRadarLayout layout) {
    const auto file = OpenRadarFile(path);
    if (!file) return {1, TReadStatus::OpenFailed, std::nullopt};
    return ReadRadargramFrom(model, *file, layout, SourcePathOf(path));
}

std::filesystem::path SourcePathOf(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path source = std::filesystem::canonical(path, ec);
    if (ec) source = std::filesystem::absolute(path);
    return source;
}

TReadResult ReadRadargramFrom(TRadargram& model, TRadarFile& file, TRadarLayout layout,
                              const std::filesystem::path& source) {
    const TFileStamp stamp = file.Stamp();
    TReadResult result{1, TReadStatus::Refused, stamp.Size};
    auto fail = [&](TReadStatus status) {
        result.Status = status;
        return result;
    };

    // Everything but the samples is read into the spare contents, so a failure leaves the
    // previous read in place. The counts are checked before anything is sized by them.
    TRadargramContents& c = model.SpareContents();
    if (stamp.Size < sizeof(TRadarHeader)) return fail(TReadStatus::Refused);
    const std::span<std::byte> header = BytesOf(c.Header);
    if (!file.ReadAt(kHeaderOffset, std::span(&header, 1))) return fail(TReadStatus::IoFault);
    const std::uint32_t traces = c.Header.TraceCount;
    const std::uint32_t samples = c.Header.SampleCount;
    if (!CountsFit(c.Header) ||
        stamp.Size < RequiredFileSize(traces, samples, c.Header.LabelCount, layout))
        return fail(TReadStatus::Refused);

    const TLayoutGeometry g = ComputeGeometry(traces, samples, layout);
    const std::span<std::byte> blockAndTable[] = {
        BytesOf(c.Block), std::as_writable_bytes(std::span(c.SampleTable).first(samples))};
    if (!file.ReadAt(kBlockOffset, blockAndTable)) return fail(TReadStatus::IoFault);

    c.TraceHeaders.resize(traces);
    c.LabelRecords.assign(traces, TLabelRecord{});
    TGapBytes& gaps = c.Gaps;
    const bool gpr2 = layout == TRadarLayout::Gpr2;
    gaps.AfterTraces.assign(gpr2 ? std::size_t{traces} * kTraceGapSize : 0, 0);

    // From here on the matrix holds rows of the new file: a failure leaves it mixed.
    if (traces > 0) model.MarkSamplesDamaged();
    TSampleMatrix& matrix = model.SampleMatrix();
    auto* gapBase = reinterpret_cast<std::byte*>(gaps.AfterTraces.data());
    const bool tracesRead = detail::TransferTraces<std::byte>(
        g, traces, [&](std::uint32_t t) { return BytesOf(c.TraceHeaders[t]).data(); },
        [&](std::uint32_t t) { return reinterpret_cast<std::byte*>(matrix.Row(t).data()); },
        [&](std::uint32_t t) -> std::byte* {
            // The gap after the last trace is only passed over; it may lie beyond the file.
            return gpr2 && t + 1 < traces ? gapBase + std::size_t{t} * kTraceGapSize : nullptr;
        },
        [&](std::uint64_t offset, TReadSlices slices) { return file.ReadAt(offset, slices); });
    if (!tracesRead) return fail(TReadStatus::IoFault);
    CountLabels(c);

    if (gpr2) {
        if (traces > 0 &&
            !detail::ReadAvailable(
                file, stamp.Size, g.TraceOffset(traces - 1) + g.TraceBytes,
                std::span(gaps.AfterTraces).subspan(std::size_t{traces - 1} * kTraceGapSize)))
            return fail(TReadStatus::IoFault);
        if (!detail::ReadAvailable(file, stamp.Size, g.TraceOffset(traces), gaps.Tail))
            return fail(TReadStatus::IoFault);
    }

    const std::span<std::byte> labels =
        std::as_writable_bytes(std::span(c.LabelRecords).first(c.Header.LabelCount));
    if (!file.ReadAt(g.LabelStart, std::span(&labels, 1))) return fail(TReadStatus::IoFault);

    gaps.Valid = gpr2;
    gaps.Stamp = stamp;
    gaps.TraceCount = traces;
    gaps.SampleCount = samples;
    model.CommitSpareContents(source);
    result.Code = 0;
    result.Status = TReadStatus::Ok;
    return result;
}

}  // namespace trelvanox
