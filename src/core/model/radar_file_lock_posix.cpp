// The radargram lock over POSIX open-file-description locks: they belong to the open file, not to
// the process, so two opens in one process exclude each other (a desktop program and its tests,
// or two documents), and closing another descriptor of the file does not drop them.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "model/radar_file_lock.h"

namespace trelvanox {

namespace {

// Far beyond any radargram (about 417 MB at most), inside every file system's offsets.
constexpr off_t kLockOffset = off_t{1} << 62;

// 0 when set; otherwise errno. A conflict is EAGAIN or EACCES.
int SetLock(int fd, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = kLockOffset;
    lock.l_len = 1;
    while (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
        if (errno != EINTR) return errno;
    }
    return 0;
}

// One try: EAGAIN or EACCES is a conflict; any other error, a file system without such locks.
TLockAttempt Attempt(int fd, short type) {
    const int error = SetLock(fd, type);
    if (error == 0) return TLockAttempt::Set;
    return error == EAGAIN || error == EACCES ? TLockAttempt::Conflict : TLockAttempt::NotSupported;
}

}  // namespace

void TRadarFileLock::Release() {
    // Closing the only descriptor of the open file description releases its lock.
    if (handle_ != kNone) ::close(static_cast<int>(handle_));
    handle_ = kNone;
}

TRadarFileLock TRadarFileLock::Acquire(const std::filesystem::path& path, TLockKind kind,
                                       std::chrono::milliseconds wait, TLockStatus& status) {
    status = TLockStatus::Unavailable;
    if (path.empty()) return {};
    // A write lock needs a descriptor open for writing; a read-only file can still be read.
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (fd < 0 && kind == TLockKind::Shared)
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return {};
    TRadarFileLock lock(fd);
    const short type = kind == TLockKind::Exclusive ? F_WRLCK : F_RDLCK;
    status = TryFor([&] { return Attempt(fd, type); }, wait);
    if (status != TLockStatus::Locked) return {};
    return lock;
}

bool TRadarFileLock::Downgrade(std::chrono::milliseconds) {
    return Held() && SetLock(static_cast<int>(handle_), F_RDLCK) == 0;
}

}  // namespace trelvanox
