// The radargram lock over LockFileEx. Windows locks belong to the handle, so two handles in one
// process exclude each other as two processes do; they bind reads and writes of the locked
// range, which is why the range lies far beyond the end of any radargram.

#include <windows.h>

#include <thread>

#include "model/radar_file_lock.h"

namespace trelvanox {

namespace {

constexpr DWORD kLockOffsetHigh = 0x40000000;  // 2^62
constexpr std::chrono::milliseconds kRetry{20};

HANDLE HandleOf(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// Whether the lock was set; conflict tells a lock another handle holds from any other failure.
bool SetLock(HANDLE file, bool exclusive, bool& conflict) {
    OVERLAPPED at{};
    at.Offset = 0;
    at.OffsetHigh = kLockOffsetHigh;
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (::LockFileEx(file, flags, 0, 1, 0, &at)) return true;
    const DWORD error = ::GetLastError();
    conflict = error == ERROR_LOCK_VIOLATION || error == ERROR_SHARING_VIOLATION ||
               error == ERROR_IO_PENDING;
    return false;
}

TLockStatus TryFor(HANDLE file, bool exclusive, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        bool conflict = false;
        if (SetLock(file, exclusive, conflict)) return TLockStatus::Locked;
        // A file system without byte-range locks cannot keep programs apart; refusing every
        // change there would help no one.
        if (!conflict) return TLockStatus::Locked;
        if (std::chrono::steady_clock::now() >= deadline) return TLockStatus::Busy;
        std::this_thread::sleep_for(kRetry);
    }
}

void Unlock(HANDLE file) {
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    ::UnlockFileEx(file, 0, 1, 0, &at);
}

}  // namespace

TRadarFileLock::~TRadarFileLock() {
    Release();
}

TRadarFileLock::TRadarFileLock(TRadarFileLock&& other) noexcept : handle_(other.handle_) {
    other.handle_ = kNone;
}

TRadarFileLock& TRadarFileLock::operator=(TRadarFileLock&& other) noexcept {
    if (this != &other) {
        Release();
        handle_ = other.handle_;
        other.handle_ = kNone;
    }
    return *this;
}

void TRadarFileLock::Release() {
    // Closing the handle releases its locks.
    if (handle_ != kNone) ::CloseHandle(HandleOf(handle_));
    handle_ = kNone;
}

TRadarFileLock TRadarFileLock::Acquire(const std::filesystem::path& path, TLockKind kind,
                                       std::chrono::milliseconds wait, TLockStatus& status) {
    status = TLockStatus::Unavailable;
    if (path.empty()) return {};
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && kind == TLockKind::Shared)
        file = ::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    TRadarFileLock lock(reinterpret_cast<std::intptr_t>(file));
    status = TryFor(file, kind == TLockKind::Exclusive, wait);
    if (status != TLockStatus::Locked) return {};
    return lock;
}

bool TRadarFileLock::Downgrade(std::chrono::milliseconds wait) {
    if (!Held()) return false;
    Unlock(HandleOf(handle_));
    return TryFor(HandleOf(handle_), false, wait) == TLockStatus::Locked;
}

}  // namespace trelvanox
