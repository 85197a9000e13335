#include "memory_radar_file.h"

#include <algorithm>
#include <cstring>

namespace trelvanox::test {

TFileStamp TMemoryRadarFile::Stamp() const {
    return {Bytes.size(), modifications_, Device, Inode};
}

bool TMemoryRadarFile::ReadAt(std::uint64_t offset, TReadSlices slices) {
    for (const auto& slice : slices) {
        if (FailReadAfter && bytesRead_ + slice.size() > *FailReadAfter) return false;
        if (offset + slice.size() > Bytes.size()) return false;
        std::memcpy(slice.data(), Bytes.data() + offset, slice.size());
        offset += slice.size();
        bytesRead_ += slice.size();
    }
    return true;
}

bool TMemoryRadarFile::WriteAt(std::uint64_t offset, TWriteSlices slices) {
    for (const auto& slice : slices) {
        // An empty slice may have no data pointer, which memcpy must not be given.
        if (slice.empty()) continue;
        if (FailWriteAfter && bytesWritten_ + slice.size() > *FailWriteAfter) return false;
        if (Capacity && offset + slice.size() > std::max<std::uint64_t>(*Capacity, Bytes.size()))
            return false;
        if (offset + slice.size() > Bytes.size()) Bytes.resize(offset + slice.size(), 0);
        std::memcpy(Bytes.data() + offset, slice.data(), slice.size());
        offset += slice.size();
        bytesWritten_ += slice.size();
        ++modifications_;
    }
    return true;
}

bool TMemoryRadarFile::Truncate(std::uint64_t size) {
    if (Capacity && size > std::max<std::uint64_t>(*Capacity, Bytes.size())) return false;
    Bytes.resize(size, 0);
    ++modifications_;
    return true;
}

}  // namespace trelvanox::test
