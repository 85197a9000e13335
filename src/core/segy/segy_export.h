#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "model/radargram.h"
#include "settings/durable_file.h"

namespace trelvanox {

struct TSegyExportOptions {
    // The label numbers in the trace headers and the labels file beside the export.
    bool Labels = true;
    // The day the textual header names, "YYYY-MM-DD"; today's when empty.
    std::string Date;
    // The samples of trace t to write in place of the model's (as a processed profile); the
    // model's when empty.
    std::function<const float*(std::uint32_t t)> Samples;
};

// Told the share of traces written so far, 0 to 100.
using TSegyProgress = std::function<void(std::uint32_t percent)>;

// Writes the radargram the model holds (after a complete read) as a SEG-Y revision 1 file at
// path: the textual header (SegyTextLines, EBCDIC), the binary header, then one trace per
// radargram trace, in order, each a 240-byte trace header and its samples as big-endian IEEE
// single-precision values (format 5), bit for bit the model's (or options.Samples'). Header fields
// are encoded by the segyio library; see segy_geometry.h for the sample interval and positions.
// With labels, the trace header of a labelled trace holds its label number (the row of the
// read-label table, from 1) in bytes 233-236, and the labels file (SegyLabelsPath,
// BuildSegyLabelsText) is written after the SEG-Y file.
//
// A radargram without traces gives a file of the headers alone. Each file is replaced
// atomically (WriteFileInPieces): a failed export leaves no partial file and an existing file
// as it was. Throws TProgramError: no radargram read or its samples damaged by a failed read,
// path naming the radargram itself or anything but a regular file, a file that cannot be
// written (write is for tests: the writes into the temporary files, the system's when empty),
// or positions that fit no coordinate scalar.
// Returns the durability warnings of the files written (see WriteFileInPieces), one a line;
// empty when all went well.
std::string ExportSegy(const TRadargram& model, const std::filesystem::path& path,
                       const TSegyExportOptions& options, const TSegyProgress& progress = {},
                       const TFileWriteCall& write = {});

// The path proposed for the export of the radargram file radargramName: its name with .sgy.
std::string SegyFileNameFor(const std::string& radargramName);

}  // namespace trelvanox
