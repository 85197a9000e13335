// Durable replacement of small files over POSIX calls: standard C++ can neither sync a file nor a
// folder to the disk.

#include "settings/durable_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>

namespace trelvanox {

namespace fs = std::filesystem;

namespace {

// Closes the descriptor it holds when it goes out of scope.
class TFileDescriptor {
  public:
    explicit TFileDescriptor(int fd) : fd_(fd) {}
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    ~TFileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int Get() const { return fd_; }
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

// A new file beside the target under a name of its own; -1 when none can be created.
int CreateTemporaryFile(const fs::path& folder, const fs::path& targetName, fs::path& path) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Hidden, and named after the target so that a leftover of a crash explains itself.
        std::string name = ".";
        name += targetName.string();
        name += '.';
        name += std::to_string(random());
        name += ".tmp";
        path = folder / name;
        // 0666 lets the umask decide the bits of a settings file that did not exist before.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool WriteAll(int fd, std::string_view bytes, const TFileWriteCall& write) {
    while (!bytes.empty()) {
        const auto written = write ? write(fd, bytes) : ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) {
            // A write that takes nothing would loop for ever; the disk is as good as full.
            errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool SyncFolder(const fs::path& folder) {
    TFileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.Get() >= 0 && ::fsync(fd.Get()) == 0;
}

}  // namespace

bool ReplaceFileDurably(const fs::path& target, std::string_view bytes,
                        const TFileWriteCall& write) {
    return ReplaceFileDurably(
        target, [bytes](const TPieceWriter& piece) { return piece(bytes); }, write);
}

bool ReplaceFileDurably(const fs::path& target, const TFileContent& content,
                        const TFileWriteCall& write) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    struct stat original {};
    const bool existed = ::stat(target.c_str(), &original) == 0;
    fs::path temporaryPath;
    TFileDescriptor file(CreateTemporaryFile(folder, target.filename(), temporaryPath));
    if (file.Get() < 0) return false;
    // Removes the temporary file on every way out but the rename, an exception included.
    struct TLeftover {
        const fs::path& Path;
        bool Renamed = false;
        ~TLeftover() {
            if (Renamed) return;
            const int reason = errno;
            ::unlink(Path.c_str());
            errno = reason;
        }
    } leftover{temporaryPath};
    const TPieceWriter piece = [&](std::string_view bytes) {
        return WriteAll(file.Get(), bytes, write);
    };
    leftover.Renamed = (!existed || ::fchmod(file.Get(), original.st_mode & 07777) == 0) &&
                       content(piece) && ::fsync(file.Get()) == 0 && file.Close() &&
                       ::rename(temporaryPath.c_str(), target.c_str()) == 0;
    if (!leftover.Renamed) return false;
    return SyncFolder(folder);
}

// The file that a write must replace: the path itself or, through symbolic links, their target.
std::optional<fs::path> ResolveSymlinks(fs::path path) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
        const auto link = fs::read_symlink(path, error);
        if (error) return std::nullopt;
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return std::nullopt;
}

}  // namespace trelvanox
