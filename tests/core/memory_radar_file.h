#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "model/radar_file.h"

namespace trelvanox::test {

// A radargram file in memory that can be told to fail: a read or write fails once it would
// move byte number FailAfter of its kind (counted over the life of the file), the sync on
// request. Every write counts as a modification for the stamp.
class TMemoryRadarFile final : public TRadarFile {
  public:
    explicit TMemoryRadarFile(std::vector<std::uint8_t> bytes) : Bytes(std::move(bytes)) {}

    TFileStamp Stamp() const override;
    bool ReadAt(std::uint64_t offset, TReadSlices slices) override;
    bool WriteAt(std::uint64_t offset, TWriteSlices slices) override;
    bool Sync() override { return !FailSync; }
    bool Truncate(std::uint64_t size) override;

    std::vector<std::uint8_t> Bytes;
    std::optional<std::uint64_t> FailReadAfter;
    std::optional<std::uint64_t> FailWriteAfter;
    bool FailSync = false;
    // A disk of this many bytes: a write that would make the file longer fails untouched.
    std::optional<std::uint64_t> Capacity;
    // The identity the stamp reports, to stand for another file at the same path.
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;

  private:
    std::uint64_t bytesRead_ = 0;
    std::uint64_t bytesWritten_ = 0;
    std::int64_t modifications_ = 0;
};

}  // namespace trelvanox::test
