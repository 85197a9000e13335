#include <system_error>

#include "model/gap_bytes.h"
#include "model/radargram_io.h"
#include "model/trace_batches.h"

namespace trelvanox {

namespace {

using detail::BytesOf;

// Writes go only into the file of the last complete read: storing one radargram's model into
// another file in place would corrupt that file.
bool IsSourceFile(const TRadargram& model, const std::filesystem::path& path) {
    std::error_code ec;
    const auto resolved = std::filesystem::canonical(path, ec);
    return !ec && !model.SourcePath().empty() && resolved == model.SourcePath();
}

// The model can be stored only as a complete read left it: counts within what it holds.
bool Writable(TRadargram& model) {
    if (!model.HasHeader() || !model.SamplesIntact()) return false;
    const TRadarHeader& h = model.Header();
    return h.TraceCount == model.TraceHeaders().size() && h.SampleCount <= kMaxSamples &&
           model.LabelTotal() <= model.LabelRecords().size();
}

TWriteResult WriteToPath(TRadargram& model, const std::filesystem::path& path, TRadarLayout layout,
                         bool packed) {
    TWriteStatus status = TWriteStatus::Ok;
    const auto file = OpenFileForWrite(model, path, status);
    if (!file) return {1, status};
    return WriteRadargramTo(model, *file, layout, packed);
}

}  // namespace

std::unique_ptr<TRadarFile> OpenFileForWrite(const TRadargram& model,
                                             const std::filesystem::path& path,
                                             TWriteStatus& status) {
    auto file = OpenRadarFile(path);
    if (!file) {
        status = TWriteStatus::OpenFailed;
        return nullptr;
    }
    if (!IsSourceFile(model, path)) {
        status = TWriteStatus::NotLoaded;
        return nullptr;
    }
    status = TWriteStatus::Ok;
    return file;
}

TWriteResult WriteRadargram(TRadargram& model, const std::filesystem::path& path,
                            TRadarLayout layout) {
    return WriteToPath(model, path, layout, false);
}

TWriteResult WriteRadargramWithoutGaps(TRadargram& model, const std::filesystem::path& path) {
    return WriteToPath(model, path, TRadarLayout::Gpr2, true);
}

TWriteResult WriteRadargramTo(TRadargram& model, TRadarFile& file, TRadarLayout layout,
                              bool packed) {
    if (!Writable(model)) return {1, TWriteStatus::NotLoaded};
    const TWriteResult fault{1, TWriteStatus::IoFault};
    const TRadarHeader& h = model.Header();
    const std::uint32_t traces = h.TraceCount;
    const std::uint32_t samples = h.SampleCount;

    // Packed traces lie as in GPR, but the labels still come after a 4-byte tail.
    TLayoutGeometry g = ComputeGeometry(traces, samples, packed ? TRadarLayout::Gpr : layout);
    if (packed) g.LabelStart += kTailGapSize;
    const bool withGaps = g.TraceGap > 0;

    // Gaps are passed over, so they must keep what the file holds. Writing back the bytes the
    // model saw there turns the trace area into a few large writes; when the file may have
    // changed since, they are taken from it afresh.
    TGapBytes& gaps = model.GapBytes();
    if (withGaps && !(gaps.Valid && gaps.Stamp == file.Stamp() && gaps.TraceCount == traces &&
                      gaps.SampleCount == samples)) {
        if (!detail::LoadGapBytes(file, g, traces, samples, gaps)) return fault;
    }

    const std::span<const std::byte> header = BytesOf(h);
    if (!file.WriteAt(kHeaderOffset, std::span(&header, 1))) return fault;
    const std::span<const std::byte> blockAndTable[] = {BytesOf(model.Block()),
                                                        std::as_bytes(model.SampleTable())};
    if (!file.WriteAt(kBlockOffset, blockAndTable)) return fault;

    const auto& constModel = model;
    const TSampleMatrix& matrix = model.SampleMatrix();
    const auto* gapBase = reinterpret_cast<const std::byte*>(gaps.AfterTraces.data());
    const bool tracesWritten = detail::TransferTraces<const std::byte>(
        g, traces, [&](std::uint32_t t) { return BytesOf(constModel.TraceHeaders()[t]).data(); },
        [&](std::uint32_t t) { return reinterpret_cast<const std::byte*>(matrix.Row(t).data()); },
        [&](std::uint32_t t) -> const std::byte* {
            return withGaps && t + 1 < traces ? gapBase + std::size_t{t} * kTraceGapSize : nullptr;
        },
        [&](std::uint64_t offset, TWriteSlices slices) { return file.WriteAt(offset, slices); });
    if (!tracesWritten) return fault;

    const std::uint32_t labelCount = model.LabelTotal();
    if (labelCount > 0) {
        const std::span<const std::byte> labels =
            std::as_bytes(constModel.LabelRecords().first(labelCount));
        if (withGaps) {
            // The last gap and the tail lie between the traces and the labels: write them with
            // the labels, as the file holds them (zero where it ends before them).
            std::vector<std::span<const std::byte>> run;
            if (traces > 0)
                run.push_back(std::as_bytes(std::span(gaps.AfterTraces).last(kTraceGapSize)));
            run.push_back(std::as_bytes(std::span(gaps.Tail)));
            run.push_back(labels);
            const std::uint64_t at =
                traces > 0 ? g.TraceOffset(traces - 1) + g.TraceBytes : g.TraceStart;
            if (!file.WriteAt(at, run)) return fault;
        } else if (!file.WriteAt(g.LabelStart, std::span(&labels, 1))) {
            return fault;
        }
    }

    if (!file.Sync()) return fault;
    // A write with gaps leaves them as they were; any other write may have put data where
    // gaps of the GPR2 layout lie.
    if (withGaps)
        gaps.Stamp = file.Stamp();
    else
        gaps.Valid = false;
    return {0, TWriteStatus::Ok};
}

}  // namespace trelvanox
