// What the radargram lock does alike on every system: owning the descriptor or handle, and
// trying again until the wait has passed.

#include "model/radar_file_lock.h"

#include <thread>

namespace trelvanox {

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

TLockStatus TRadarFileLock::TryFor(const std::function<TLockAttempt()>& attempt,
                                   std::chrono::milliseconds wait) {
    constexpr std::chrono::milliseconds kRetry{20};
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        // A file system without byte-range locks (some network shares) cannot keep programs
        // apart; refusing every change there would help no one.
        if (attempt() != TLockAttempt::Conflict) return TLockStatus::Locked;
        if (std::chrono::steady_clock::now() >= deadline) return TLockStatus::Busy;
        std::this_thread::sleep_for(kRetry);
    }
}

}  // namespace trelvanox
