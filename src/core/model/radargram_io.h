#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include "model/radar_file.h"
#include "model/radar_layout.h"
#include "model/radargram.h"

namespace trelvanox {

enum class TReadStatus {
    Ok,
    OpenFailed,  // missing, empty name, not a regular file or read-only; nothing was read
    Refused,     // counts beyond capacity or a file shorter than they imply; model unchanged
    IoFault,     // the file failed in the middle of the read
};

struct TReadResult {
    std::int32_t Code = 1;  // 0 after a complete read, 1 otherwise
    TReadStatus Status = TReadStatus::OpenFailed;
    std::optional<std::uint64_t> FileSize;  // known once the file could be opened
};

enum class TWriteStatus {
    Ok,
    OpenFailed,  // the file cannot be opened for update; nothing was written
    NotLoaded,   // no complete read, another file than the one read, or damaged samples
    IoFault,     // a write or the final flush failed; what was written before stays
};

struct TWriteResult {
    std::int32_t Code = 1;  // 0 after a complete, flushed write, 1 otherwise
    TWriteStatus Status = TWriteStatus::OpenFailed;
};

// Reads the whole file into the model. On any failure the model keeps its previous contents;
// if the failure came after samples were overwritten, later writes are refused until the next
// complete read.
TReadResult ReadRadargram(TRadargram& model, const std::filesystem::path& path,
                          TRadarLayout layout);

// Writes the model in place into the file it was read from, in the given layout: header, block,
// sample table, the traces with the layout's gaps passed over, then LabelTotal label records.
// The reserved area and the gaps keep the file's bytes; nothing is truncated.
TWriteResult WriteRadargram(TRadargram& model, const std::filesystem::path& path,
                            TRadarLayout layout);

// As WriteRadargram, but the traces are packed without gaps whatever the layout, and the label
// records follow after 4 bytes passed over.
TWriteResult WriteRadargramWithoutGaps(TRadargram& model, const std::filesystem::path& path);

// The path a model read from path remembers as its source: resolved through links, else made
// absolute. Writes go only to the file of that path.
std::filesystem::path SourcePathOf(const std::filesystem::path& path);

// Opens the file at path for a write of the model: nothing, with the status OpenFailed when it
// cannot be opened for update, or NotLoaded when it is not the file the model was read from.
std::unique_ptr<TRadarFile> OpenFileForWrite(const TRadargram& model,
                                             const std::filesystem::path& path,
                                             TWriteStatus& status);

// The same over an already opened file; `source` is the resolved path the model remembers.
TReadResult ReadRadargramFrom(TRadargram& model, TRadarFile& file, TRadarLayout layout,
                              const std::filesystem::path& source);
// `packed` stores the traces without gaps (the write without gaps); the file must be the one
// the model was read from.
TWriteResult WriteRadargramTo(TRadargram& model, TRadarFile& file, TRadarLayout layout,
                              bool packed);

}  // namespace trelvanox
