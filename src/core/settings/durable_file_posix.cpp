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

// The target's name as the start of a temporary name: at most 200 bytes, cut before a UTF-8
// sequence, so that the added dot, number and ".tmp" cannot push a long but valid name past the
// system's 255-byte limit.
std::string NameStem(const fs::path& targetName) {
    std::string stem = targetName.string();
    if (stem.size() <= 200) return stem;
    std::size_t end = 200;
    while (end > 0 && (static_cast<unsigned char>(stem[end]) & 0xC0) == 0x80) --end;
    stem.resize(end);
    return stem;
}

// A new file beside the target under a name of its own; -1 when none can be created.
int CreateTemporaryFile(const fs::path& folder, const fs::path& targetName, fs::path& path) {
    std::random_device random;
    const std::string stem = NameStem(targetName);
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Hidden, and named after the target so that a leftover of a crash explains itself.
        std::string name = ".";
        name += stem;
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

bool ReplaceFileDurably(const fs::path& target, const TFileContent& content,
                        const TFileWriteCall& write, bool* renamed,
                        const TFolderSyncCall& syncFolder) {
    if (renamed) *renamed = false;
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
    if (renamed) *renamed = true;
    // The rename happened: a folder sync that fails once (a passing I/O error) is tried again
    // before the caller is told that the new entry may not be durable.
    for (int attempt = 0; attempt < 3; ++attempt)
        if (syncFolder ? syncFolder(folder) : SyncFolder(folder)) return true;
    return false;
}

bool FileTakesWrites(const fs::path& path) {
    return ::access(path.c_str(), W_OK) == 0;
}

bool FolderTakesNewFiles(const fs::path& folder) {
    fs::path probe;
    TFileDescriptor file(CreateTemporaryFile(folder, "probe", probe));
    if (file.Get() < 0) return false;
    file.Close();
    ::unlink(probe.c_str());
    return true;
}

}  // namespace trelvanox
