#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>

#include "model/radargram.h"

namespace trelvanox {

using TReadSlices = std::span<const std::span<std::byte>>;
using TWriteSlices = std::span<const std::span<const std::byte>>;

// A radargram file opened for update. Transfers are positional and scatter/gather, so a run of
// traces moves between file and model in a few system calls with no copy in between. Every
// transfer reports whether it moved all its bytes: a short read, a short write and an I/O error
// all count as failure.
class TRadarFile {
  public:
    virtual ~TRadarFile() = default;
    virtual TFileStamp Stamp() const = 0;
    // Fills the slices, one after the other, from offset on.
    virtual bool ReadAt(std::uint64_t offset, TReadSlices slices) = 0;
    // Stores the slices, one after the other, from offset on; a file shorter than offset grows
    // and the bytes in between read as zero.
    virtual bool WriteAt(std::uint64_t offset, TWriteSlices slices) = 0;
    // Makes everything written reach the disk.
    virtual bool Sync() = 0;
    // Asks the system to start writing the given bytes to the disk now, without waiting, so
    // that a long write's Sync has little left to wait for. Only a hint: nothing by default.
    virtual void StartWriteback(std::uint64_t /*offset*/, std::uint64_t /*length*/) {}
    // Cuts or extends the file to size bytes.
    virtual bool Truncate(std::uint64_t size) = 0;
};

// Opens an existing regular file for reading and writing without truncating it. Nothing (no
// file) when it does not exist, the name is empty, it is not a regular file, or it is read-only:
// a file without any write permission counts as read-only even for a user who could override
// the permission, because marking a survey file read-only is how an operator protects it.
std::unique_ptr<TRadarFile> OpenRadarFile(const std::filesystem::path& path);

// Opens an existing regular file for reading only (journals: applying one never writes it, and a
// history on a read-only disk must still restore its radargram); its writes, syncs and
// truncations fail. Nothing when it cannot be opened.
std::unique_ptr<TRadarFile> OpenRadarFileForReading(const std::filesystem::path& path);

// The stamp of the file at path; nothing when it cannot be examined.
std::optional<TFileStamp> StampOfPath(const std::filesystem::path& path);

// Creates a new, empty file readable and writable by its owner alone (for journals); nothing when
// it exists already or cannot be made.
std::unique_ptr<TRadarFile> CreateRadarFile(const std::filesystem::path& path);

// Makes the entries of a folder (files created, renamed or removed in it) reach the disk.
bool SyncFolder(const std::filesystem::path& folder);

}  // namespace trelvanox
