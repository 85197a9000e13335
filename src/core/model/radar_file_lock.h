#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>

namespace trelvanox {

enum class TLockKind {
    Shared,     // a read: any number at once, none while a change runs
    Exclusive,  // a change, an undo, a redo, a recovery: one at a time, no read meanwhile
};

enum class TLockStatus {
    Locked,
    Busy,        // another holder kept it for the whole wait
    Unavailable  // the file cannot be opened to lock it; the caller's own open will say why
};

// One try at the lock, as each system's layer tells it.
enum class TLockAttempt {
    Set,
    Conflict,      // another holder has it
    NotSupported,  // the file system has no byte-range locks
};

// A lock on a radargram file that every Trelvanox process respects: open-file-description
// locks on POSIX systems, LockFileEx on Windows. It is taken on the file itself, so every name
// of the file (a hard link) shares it, and it guards the file's history with it. Two locks of
// one process conflict as those of two processes do. It lies on a byte far beyond any
// radargram's end, so on Windows, where locks bind reads and writes, it never stands in the way
// of the file's own transfers. Released when the object goes.
class TRadarFileLock {
  public:
    TRadarFileLock() = default;  // holds nothing
    ~TRadarFileLock();
    TRadarFileLock(TRadarFileLock&& other) noexcept;
    TRadarFileLock& operator=(TRadarFileLock&& other) noexcept;
    TRadarFileLock(const TRadarFileLock&) = delete;
    TRadarFileLock& operator=(const TRadarFileLock&) = delete;

    // Takes the lock of the file at path, trying again until wait has passed.
    static TRadarFileLock Acquire(const std::filesystem::path& path, TLockKind kind,
                                  std::chrono::milliseconds wait, TLockStatus& status);

    // Turns a held exclusive lock into a shared one (no other writer can come in between on
    // POSIX systems; on Windows the lock is given up and taken again shared, within wait).
    bool Downgrade(std::chrono::milliseconds wait);

    bool Held() const { return handle_ != kNone; }

  private:
    static constexpr std::intptr_t kNone = -1;
    explicit TRadarFileLock(std::intptr_t handle) : handle_(handle) {}
    void Release();
    // Runs attempt until it sets the lock, says locks are not supported there, or wait has
    // passed while another holder kept it (Busy).
    static TLockStatus TryFor(const std::function<TLockAttempt()>& attempt,
                              std::chrono::milliseconds wait);

    std::intptr_t handle_ = kNone;  // the descriptor or handle the lock belongs to
};

}  // namespace trelvanox
