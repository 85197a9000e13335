// The radargram file over POSIX descriptors: positional scatter/gather transfers (preadv,
// pwritev) move many trace headers and sample rows per system call straight between the page
// cache and the model, and fsync makes a finished write durable. Standard C++ offers neither.

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "model/radar_file.h"

namespace trelvanox {

namespace {

#ifdef IOV_MAX
constexpr std::size_t kMaxSlicesPerCall = IOV_MAX;
#else
constexpr std::size_t kMaxSlicesPerCall = 1024;
#endif

// Runs transfer(offset, iov, count) until every byte of the slices has moved; false on an error
// or when the transfer moves nothing (end of file on a read).
template <typename Slices, typename Transfer>
bool TransferAll(std::uint64_t offset, Slices slices, Transfer transfer) {
    std::vector<iovec> iov;
    iov.reserve(std::min(slices.size(), kMaxSlicesPerCall));
    std::size_t next = 0;
    while (next < slices.size() || !iov.empty()) {
        while (iov.size() < kMaxSlicesPerCall && next < slices.size()) {
            const auto& s = slices[next++];
            if (!s.empty()) iov.push_back({const_cast<std::byte*>(s.data()), s.size()});
        }
        if (iov.empty()) break;
        const ssize_t moved = transfer(offset, iov.data(), static_cast<int>(iov.size()));
        if (moved < 0 && errno == EINTR) continue;
        if (moved <= 0) return false;
        offset += static_cast<std::uint64_t>(moved);
        // Drop the slices that moved completely and trim the one that moved in part.
        std::size_t done = 0;
        auto left = static_cast<std::size_t>(moved);
        while (done < iov.size() && left >= iov[done].iov_len) left -= iov[done++].iov_len;
        iov.erase(iov.begin(), iov.begin() + static_cast<std::ptrdiff_t>(done));
        if (left > 0) {
            iov.front().iov_base = static_cast<std::byte*>(iov.front().iov_base) + left;
            iov.front().iov_len -= left;
        }
    }
    return true;
}

TFileStamp StampOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

class TPosixRadarFile final : public TRadarFile {
  public:
    explicit TPosixRadarFile(int fd) : fd_(fd) {}
    ~TPosixRadarFile() override { ::close(fd_); }
    TPosixRadarFile(const TPosixRadarFile&) = delete;
    TPosixRadarFile& operator=(const TPosixRadarFile&) = delete;

    TFileStamp Stamp() const override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) return {};
        return StampOf(st);
    }

    bool ReadAt(std::uint64_t offset, TReadSlices slices) override {
        return TransferAll(offset, slices, [this](std::uint64_t at, iovec* iov, int n) {
            return ::preadv(fd_, iov, n, static_cast<off_t>(at));
        });
    }

    bool WriteAt(std::uint64_t offset, TWriteSlices slices) override {
        return TransferAll(offset, slices, [this](std::uint64_t at, iovec* iov, int n) {
            return ::pwritev(fd_, iov, n, static_cast<off_t>(at));
        });
    }

    bool Sync() override { return ::fsync(fd_) == 0; }
    void StartWriteback(std::uint64_t offset, std::uint64_t length) override {
#ifdef __linux__
        ::sync_file_range(fd_, static_cast<off_t>(offset), static_cast<off_t>(length),
                          SYNC_FILE_RANGE_WRITE);
#else
        (void)offset;
        (void)length;
#endif
    }

    bool Truncate(std::uint64_t size) override {
        int result = 0;
        do {
            result = ::ftruncate(fd_, static_cast<off_t>(size));
        } while (result != 0 && errno == EINTR);
        return result == 0;
    }

  private:
    int fd_;
};

}  // namespace

std::unique_ptr<TRadarFile> OpenRadarFile(const std::filesystem::path& path) {
    if (path.empty()) return nullptr;
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return nullptr;
    auto file = std::make_unique<TPosixRadarFile>(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return nullptr;
    return file;
}

std::unique_ptr<TRadarFile> OpenRadarFileForReading(const std::filesystem::path& path) {
    if (path.empty()) return nullptr;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    auto file = std::make_unique<TPosixRadarFile>(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    return file;
}

std::optional<TFileStamp> StampOfPath(const std::filesystem::path& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return std::nullopt;
    return StampOf(st);
}

std::unique_ptr<TRadarFile> CreateRadarFile(const std::filesystem::path& path) {
    if (path.empty()) return nullptr;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return nullptr;
    return std::make_unique<TPosixRadarFile>(fd);
}

bool SyncFolder(const std::filesystem::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

}  // namespace trelvanox
