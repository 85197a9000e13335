// The radargram file over Windows handles: ReadFile and WriteFile at explicit offsets (an
// OVERLAPPED offset on a synchronous handle), FlushFileBuffers to make a finished write durable.
// Windows has no scatter/gather for buffered files, so runs of small slices (trace headers,
// single rows) are staged through one buffer and move in one call; large slices move directly.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "model/radar_file.h"

namespace trelvanox {

namespace {

// The most one ReadFile or WriteFile call is asked to move, and the staging buffer's size.
constexpr std::size_t kMaxCallBytes = 1u << 30;
constexpr std::size_t kStagingBytes = 1u << 20;

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

// Moves the whole block from or to offset; false on an error or when a read meets the end of
// the file.
bool ReadExact(HANDLE file, std::uint64_t offset, std::byte* data, std::size_t size) {
    while (size > 0) {
        const DWORD ask = static_cast<DWORD>(std::min(size, kMaxCallBytes));
        OVERLAPPED at = At(offset);
        DWORD moved = 0;
        if (!::ReadFile(file, data, ask, &moved, &at) || moved == 0) return false;
        offset += moved;
        data += moved;
        size -= moved;
    }
    return true;
}

bool WriteExact(HANDLE file, std::uint64_t offset, const std::byte* data, std::size_t size) {
    while (size > 0) {
        const DWORD ask = static_cast<DWORD>(std::min(size, kMaxCallBytes));
        OVERLAPPED at = At(offset);
        DWORD moved = 0;
        if (!::WriteFile(file, data, ask, &moved, &at) || moved == 0) return false;
        offset += moved;
        data += moved;
        size -= moved;
    }
    return true;
}

// The slices from next on that fit the staging buffer together; at least one.
template <typename Slices>
std::size_t GroupEnd(Slices slices, std::size_t next, std::size_t& bytes) {
    bytes = slices[next].size();
    std::size_t end = next + 1;
    while (end < slices.size() && bytes + slices[end].size() <= kStagingBytes)
        bytes += slices[end++].size();
    return end;
}

std::int64_t UnixNanoseconds(const FILETIME& time) {
    // FILETIME counts 100 ns from 1601-01-01; the stamp counts from 1970-01-01.
    constexpr std::int64_t kEpochDifference = 116444736000000000LL;
    const std::uint64_t ticks = (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    const std::int64_t since =
        static_cast<std::int64_t>(std::min<std::uint64_t>(
            ticks, static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))) -
        kEpochDifference;
    // A time before 1677 or after 2262 (an unset one is 1601) has no nanosecond count in 64
    // bits; it is held at the nearest end, as the stamp only has to tell files apart.
    constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 100;
    return std::clamp(since, -kLimit, kLimit) * 100;
}

std::optional<TFileStamp> StampOfHandle(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file, &info)) return std::nullopt;
    return TFileStamp{(static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
                      UnixNanoseconds(info.ftLastWriteTime), info.dwVolumeSerialNumber,
                      (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

class TWin32RadarFile final : public TRadarFile {
  public:
    explicit TWin32RadarFile(HANDLE file) : file_(file) {}
    ~TWin32RadarFile() override { ::CloseHandle(file_); }
    TWin32RadarFile(const TWin32RadarFile&) = delete;
    TWin32RadarFile& operator=(const TWin32RadarFile&) = delete;

    TFileStamp Stamp() const override { return StampOfHandle(file_).value_or(TFileStamp{}); }

    bool ReadAt(std::uint64_t offset, TReadSlices slices) override {
        for (std::size_t next = 0; next < slices.size();) {
            std::size_t bytes = 0;
            const std::size_t end = GroupEnd(slices, next, bytes);
            if (end == next + 1) {
                if (!ReadExact(file_, offset, slices[next].data(), bytes)) return false;
            } else {
                staging_.resize(bytes);
                if (!ReadExact(file_, offset, staging_.data(), bytes)) return false;
                std::size_t at = 0;
                for (std::size_t i = next; i < end; ++i) {
                    if (!slices[i].empty())
                        std::memcpy(slices[i].data(), staging_.data() + at, slices[i].size());
                    at += slices[i].size();
                }
            }
            offset += bytes;
            next = end;
        }
        return true;
    }

    bool WriteAt(std::uint64_t offset, TWriteSlices slices) override {
        for (std::size_t next = 0; next < slices.size();) {
            std::size_t bytes = 0;
            const std::size_t end = GroupEnd(slices, next, bytes);
            if (end == next + 1) {
                if (!WriteExact(file_, offset, slices[next].data(), bytes)) return false;
            } else {
                staging_.resize(bytes);
                std::size_t at = 0;
                for (std::size_t i = next; i < end; ++i) {
                    if (!slices[i].empty())
                        std::memcpy(staging_.data() + at, slices[i].data(), slices[i].size());
                    at += slices[i].size();
                }
                if (!WriteExact(file_, offset, staging_.data(), bytes)) return false;
            }
            offset += bytes;
            next = end;
        }
        return true;
    }

    bool Sync() override { return ::FlushFileBuffers(file_) != 0; }

    bool Truncate(std::uint64_t size) override {
        FILE_END_OF_FILE_INFO end{};
        end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
        return ::SetFileInformationByHandle(file_, FileEndOfFileInfo, &end, sizeof end) != 0;
    }

  private:
    HANDLE file_;
    std::vector<std::byte> staging_;
};

// Other programs may read the file meanwhile, and a journal may be renamed or removed while
// open, as on POSIX systems.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

std::unique_ptr<TRadarFile> OpenRadarFile(const std::filesystem::path& path) {
    if (path.empty()) return nullptr;
    // A file with the read-only attribute refuses write access here, as the reader wants.
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    auto opened = std::make_unique<TWin32RadarFile>(file);
    // A device (NUL, COM1) or a pipe opens too, but is no radargram. The read-only attribute is
    // checked once more for a process that could override it (Wine run by root).
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0)
        return nullptr;
    return opened;
}

std::unique_ptr<TRadarFile> OpenRadarFileForReading(const std::filesystem::path& path) {
    if (path.empty()) return nullptr;
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    auto opened = std::make_unique<TWin32RadarFile>(file);
    if (::GetFileType(file) != FILE_TYPE_DISK) return nullptr;
    return opened;
}

std::optional<TFileStamp> StampOfPath(const std::filesystem::path& path) {
    if (path.empty()) return std::nullopt;
    // No access asked for: the attributes of a file another program holds open are readable.
    const HANDLE file = ::CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    const auto stamp = StampOfHandle(file);
    ::CloseHandle(file);
    return stamp;
}

std::unique_ptr<TRadarFile> CreateRadarFile(const std::filesystem::path& path) {
    if (path.empty()) return nullptr;
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<TWin32RadarFile>(file);
}

bool SyncFolder(const std::filesystem::path& folder) {
    // NTFS journals its folder entries itself: a file created, renamed (with write-through) or
    // removed there is as durable as the log, and Windows offers no flush of one folder's
    // entries to a program without administrator rights. The folder must still be there.
    const std::filesystem::path place = folder.empty() ? std::filesystem::path(L".") : folder;
    const DWORD attributes = ::GetFileAttributesW(place.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace trelvanox
