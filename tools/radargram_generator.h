#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "model/radar_layout.h"

namespace trelvanox {

// What a synthetic radargram looks like. The same options and seed always give the same bytes.
//
// The file is a survey as the recording makes it: a header with plausible values and Cyrillic
// texts, random bytes in every area and field that nothing interprets (so that a round trip shows
// they are kept), traces whose coordinates grow by StepX, samples with layers, hyperbolas and
// noise, non-zero bytes in the GPR2 gaps, and one label record per labelled trace.
struct TGeneratorOptions {
    std::uint32_t TraceCount = 1000;
    std::uint32_t SampleCount = 512;
    TRadarLayout Layout = TRadarLayout::Gpr2;
    std::uint32_t Seed = 1;

    // Traces LabelFirst, LabelFirst + LabelEvery, ... carry a label; 0 places none.
    std::uint32_t LabelEvery = 0;
    std::uint32_t LabelFirst = 0;
    // Share (0 to 1) of the labels that have no text, spread evenly over the labels. The k-th
    // labelled trace gets LabelIndex k + 2 with text, or 1 without.
    double ShareWithoutText = 0.25;
    // The header's LabelCount and the number of records stored after the traces. Nothing means
    // one record per labelled trace, as after a label write-back; another value gives a file
    // whose LabelCount disagrees with its labelled traces (records beyond those are filled too).
    std::optional<std::uint32_t> LabelCount;

    // Header values.
    std::uint32_t RecordTime = 200;  // ns
    float Permittivity = 9.3f;
    std::int32_t StepX = 50;                 // mm
    std::int64_t StartCoordinate = 1234500;  // mm
    std::int32_t StartTime = 12;             // ns

    // Random bytes after the last label record, for checking that nothing truncates the file.
    std::uint32_t TrailingBytes = 0;
};

// What a read of the generated file should find.
struct TGeneratorSummary {
    std::uint64_t FileSize = 0;
    std::uint32_t LabelCount = 0;         // the header's field, also the records stored
    std::uint32_t LabelsWithText = 0;     // traces with LabelIndex >= 2
    std::uint32_t LabelsWithoutText = 0;  // traces with LabelIndex 1
};

// Streams the file to path (created or replaced), never holding more than one buffer of it, so
// a maximal file takes seconds and little memory. Throws std::runtime_error on an I/O failure.
TGeneratorSummary GenerateRadargram(const std::filesystem::path& path,
                                    const TGeneratorOptions& options);

// The same bytes in memory, for small files.
std::vector<std::uint8_t> GenerateRadargramBytes(const TGeneratorOptions& options);

// The counts GenerateRadargram reports, without producing anything.
TGeneratorSummary DescribeRadargram(const TGeneratorOptions& options);

}  // namespace trelvanox
