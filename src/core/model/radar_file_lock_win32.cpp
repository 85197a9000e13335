// The radargram lock over LockFileEx. Windows locks belong to the handle, so two handles in one
// process exclude each other as two processes do; they bind reads and writes of the locked
// range, which is why the range lies far beyond the end of any radargram.

#include <windows.h>

#include "model/radar_file_lock.h"

namespace trelvanox {

namespace {

constexpr DWORD kLockOffsetHigh = 0x40000000;  // 2^62

HANDLE HandleOf(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

TLockAttempt Attempt(HANDLE file, bool exclusive) {
    OVERLAPPED at{};
    at.Offset = 0;
    at.OffsetHigh = kLockOffsetHigh;
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (::LockFileEx(file, flags, 0, 1, 0, &at)) return TLockAttempt::Set;
    const DWORD error = ::GetLastError();
    const bool conflict = error == ERROR_LOCK_VIOLATION || error == ERROR_SHARING_VIOLATION ||
                          error == ERROR_IO_PENDING;
    return conflict ? TLockAttempt::Conflict : TLockAttempt::NotSupported;
}

void Unlock(HANDLE file) {
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    ::UnlockFileEx(file, 0, 1, 0, &at);
}

}  // namespace

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
    const bool exclusive = kind == TLockKind::Exclusive;
    status = TryFor([&] { return Attempt(file, exclusive); }, wait);
    if (status != TLockStatus::Locked) return {};
    return lock;
}

bool TRadarFileLock::Downgrade(std::chrono::milliseconds wait) {
    if (!Held()) return false;
    Unlock(HandleOf(handle_));
    const HANDLE file = HandleOf(handle_);
    return TryFor([&] { return Attempt(file, false); }, wait) == TLockStatus::Locked;
}

}  // namespace trelvanox
