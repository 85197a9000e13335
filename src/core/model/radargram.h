#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <utility>
#include <vector>

#include "model/radar_layout.h"
#include "model/radar_records.h"
#include "model/sample_matrix.h"

namespace trelvanox {

// Size and modification time of a file, and which file it is (device and inode where the
// system has them), to tell whether it changed or was replaced since we last saw it.
struct TFileStamp {
    std::uint64_t Size = 0;
    std::int64_t ModifiedNs = 0;
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    bool operator==(const TFileStamp&) const = default;
};

// The bytes a GPR2 file holds in the gaps the reader and writer pass over (8 after each trace,
// 4 after the last one), as last seen in the bound file. Writing them back lets a write store
// the whole trace area in a few large transfers instead of one per trace; they are trusted only
// while the file's stamp and geometry are those they were taken with.
struct TGapBytes {
    bool Valid = false;
    TFileStamp Stamp;
    std::uint32_t TraceCount = 0;
    std::uint32_t SampleCount = 0;
    std::vector<std::uint8_t> AfterTraces;  // 8 bytes per trace
    std::array<std::uint8_t, kTailGapSize> Tail{};
};

// What one complete read produces, apart from the samples, which go straight into the matrix.
struct TRadargramContents {
    TRadarHeader Header{};
    THeaderBlock Block{};
    std::array<std::uint32_t, kMaxSamples> SampleTable{};
    std::vector<TTraceHeader> TraceHeaders;  // TraceCount
    std::vector<TLabelRecord> LabelRecords;  // TraceCount slots; unfilled slots are zero
    std::uint32_t LabelTotal = 0;
    std::uint32_t LabelsWithText = 0;
    std::uint32_t LabelsWithoutText = 0;
    TGapBytes Gaps;
};

// The radargram of an open file, owned by its document. It holds every byte it read, the
// uninterpreted ones included, so that a write reproduces them. Only the reader replaces the
// contents; every other operation changes fields in place and then writes the file.
class TRadargram {
  public:
    TRadargram() = default;
    TRadargram(const TRadargram&) = delete;
    TRadargram& operator=(const TRadargram&) = delete;

    // No header until the first complete read; until then the fields read as zero and the
    // model holds no traces.
    bool HasHeader() const { return fileLoaded_ != 0; }
    TRadarHeader& Header() { return contents_.Header; }
    const TRadarHeader& Header() const { return contents_.Header; }
    THeaderBlock& Block() { return contents_.Block; }
    const THeaderBlock& Block() const { return contents_.Block; }
    // The first SampleCount values of the table.
    std::span<std::uint32_t> SampleTable();
    std::span<const std::uint32_t> SampleTable() const;

    // TraceCount trace headers and TraceCount label record slots, as the last read made them.
    std::span<TTraceHeader> TraceHeaders();
    std::span<const TTraceHeader> TraceHeaders() const;
    std::span<TLabelRecord> LabelRecords();
    std::span<const TLabelRecord> LabelRecords() const;
    // Label record slot k, or nothing when k lies beyond the slots (a LabelIndex from the file
    // may point anywhere).
    const TLabelRecord* FindLabelRecord(std::uint64_t k) const;

    // SampleCount samples of trace t (t < TraceCount).
    std::span<float> Samples(std::uint32_t t);
    std::span<const float> Samples(std::uint32_t t) const;
    TSampleMatrix& SampleMatrix() { return matrix_; }
    const TSampleMatrix& SampleMatrix() const { return matrix_; }

    std::uint32_t LabelTotal() const { return contents_.LabelTotal; }
    std::uint32_t LabelsWithText() const { return contents_.LabelsWithText; }
    std::uint32_t LabelsWithoutText() const { return contents_.LabelsWithoutText; }
    // 0 until the first complete read, then 1 for the rest of the run.
    std::int32_t FileLoaded() const { return fileLoaded_; }
    // Counts the labelled traces again after an edit added or removed labels: the writer stores
    // LabelTotal records, so a count left from the read would drop a new label's record.
    void RecountLabels();

    // --- for the reader and the writer alone ---

    // The contents the next read fills. They are those of the read before the last one, kept
    // so that a read reuses their memory: fresh memory for a maximal file costs thousands of
    // page faults, a sizeable share of the whole read.
    TRadargramContents& SpareContents() { return spare_; }
    // Makes the spare contents, just filled by a complete read of the file at sourcePath
    // (resolved), the model's contents; those of the previous read become the spare.
    void CommitSpareContents(std::filesystem::path sourcePath);
    // The same for contents made elsewhere.
    void Replace(TRadargramContents&& contents, std::filesystem::path sourcePath);
    // A read that failed after it had begun overwriting samples: the matrix now mixes two files,
    // so nothing may be written until the next complete read.
    void MarkSamplesDamaged() { samplesIntact_ = false; }
    bool SamplesIntact() const { return samplesIntact_; }
    // The file of the last complete read; writes go there and nowhere else.
    const std::filesystem::path& SourcePath() const { return sourcePath_; }
    TGapBytes& GapBytes() { return contents_.Gaps; }

  private:
    TRadargramContents contents_;
    TRadargramContents spare_;
    TSampleMatrix matrix_;
    std::int32_t fileLoaded_ = 0;
    bool samplesIntact_ = true;
    std::filesystem::path sourcePath_;
};

}  // namespace trelvanox
