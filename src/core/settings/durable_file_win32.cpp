// Durable replacement of small files on Windows: the temporary file is written through the C
// runtime's descriptors (so that the write call stays the same as on POSIX systems), made
// durable with _commit (FlushFileBuffers), and renamed over the target by MoveFileExW with
// write-through, which returns only once the rename is on the disk.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <string>

#include "settings/durable_file.h"

namespace trelvanox {

namespace fs = std::filesystem;

namespace {

class TFileDescriptor {
  public:
    explicit TFileDescriptor(int fd) : fd_(fd) {}
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    ~TFileDescriptor() {
        if (fd_ >= 0) ::_close(fd_);
    }
    int Get() const { return fd_; }
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::_close(fd) == 0;
    }

  private:
    int fd_;
};

// errno for the reasons a rename can fail with.
int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EACCES;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        default:
            return EIO;
    }
}

// The target's name as the start of a temporary name: at most 32 UTF-16 units, never half a
// surrogate pair. The whole path counts against the system's limit of 260 units here, so the
// temporary file's path must not be longer than a long target's.
std::wstring NameStem(const fs::path& targetName) {
    constexpr std::size_t kStem = 32;
    std::wstring stem = targetName.wstring();
    if (stem.size() <= kStem) return stem;
    const bool splitsPair = stem[kStem - 1] >= 0xD800 && stem[kStem - 1] <= 0xDBFF;
    stem.resize(splitsPair ? kStem - 1 : kStem);
    return stem;
}

int CreateTemporaryFile(const fs::path& folder, const fs::path& targetName, fs::path& path) {
    std::random_device random;
    const std::wstring stem = NameStem(targetName);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring name = L".";
        name += stem;
        name += L'.';
        name += std::to_wstring(random());
        name += L".tmp";
        path = folder / name;
        int fd = -1;
        const errno_t opened =
            ::_wsopen_s(&fd, path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYNO,
                        _S_IREAD | _S_IWRITE);
        if (opened == 0) return fd;
        if (opened != EEXIST) {
            errno = opened;
            return -1;
        }
    }
    return -1;
}

bool WriteAll(int fd, std::string_view bytes, const TFileWriteCall& write) {
    while (!bytes.empty()) {
        const unsigned chunk = static_cast<unsigned>(std::min<std::size_t>(bytes.size(), 1u << 30));
        const auto written = write ? write(fd, bytes)
                                   : static_cast<std::ptrdiff_t>(::_write(fd, bytes.data(), chunk));
        if (written < 0) return false;
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

bool ReplaceFileDurably(const fs::path& target, const TFileContent& content,
                        const TFileWriteCall& write, bool* renamed,
                        const TFolderSyncCall& syncFolder) {
    if (renamed) *renamed = false;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(L".");
    fs::path temporaryPath;
    TFileDescriptor file(CreateTemporaryFile(folder, target.filename(), temporaryPath));
    if (file.Get() < 0) return false;
    // Removes the temporary file on every way out but the rename, an exception included; the
    // descriptor must be closed first, as an open file cannot be deleted here.
    struct TLeftover {
        TFileDescriptor& File;
        const fs::path& Path;
        bool Renamed = false;
        ~TLeftover() {
            if (Renamed) return;
            const int reason = errno;
            if (File.Get() >= 0) File.Close();
            ::_wunlink(Path.c_str());
            errno = reason;
        }
    } leftover{file, temporaryPath};
    const TPieceWriter piece = [&](std::string_view bytes) {
        return WriteAll(file.Get(), bytes, write);
    };
    if (!(content(piece) && ::_commit(file.Get()) == 0 && file.Close())) return false;
    if (!::MoveFileExW(temporaryPath.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        errno = ErrnoOf(::GetLastError());
        return false;
    }
    leftover.Renamed = true;
    if (renamed) *renamed = true;
    // The rename wrote through; a folder sync is only ever one a test put in.
    if (!syncFolder) return true;
    for (int attempt = 0; attempt < 3; ++attempt)
        if (syncFolder(folder)) return true;
    return false;
}

bool FileTakesWrites(const fs::path& path) {
    // The read-only attribute is what marks a file read-only here; access lists are asked when
    // the file is opened for the write.
    return ::_waccess(path.c_str(), 2) == 0;
}

bool FolderTakesNewFiles(const fs::path& folder) {
    fs::path probe;
    TFileDescriptor file(CreateTemporaryFile(folder, L"probe", probe));
    if (file.Get() < 0) return false;
    file.Close();
    ::_wunlink(probe.c_str());
    return true;
}

}  // namespace trelvanox
