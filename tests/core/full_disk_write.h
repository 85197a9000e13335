#pragma once

// A write call for the file replacements (TFileWriteCall) that fails as a full disk does. POSIX
// descriptors: for the tests that run on such systems only.

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <string_view>

#include "settings/durable_file.h"

namespace trelvanox::test {

// Takes the first `budget` bytes, then fails with ENOSPC.
inline TFileWriteCall FullDiskAfter(std::size_t budget) {
    return [budget](int fd, std::string_view bytes) mutable -> std::ptrdiff_t {
        if (budget == 0) {
            errno = ENOSPC;
            return -1;
        }
        const auto written = ::write(fd, bytes.data(), std::min(budget, bytes.size()));
        if (written > 0) budget -= static_cast<std::size_t>(written);
        return written;
    };
}

}  // namespace trelvanox::test
