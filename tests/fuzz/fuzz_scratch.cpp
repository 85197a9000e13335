#include "fuzz_scratch.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace trelvanox::fuzz {

namespace fs = std::filesystem;

namespace {

struct TScratch {
    fs::path Path;
    TScratch() {
        const fs::path shm = "/dev/shm";
        std::error_code error;
        const fs::path base = fs::is_directory(shm, error) ? shm : fs::temp_directory_path();
        Path = base / ("trelvanox-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(Path);
    }
    ~TScratch() {
        std::error_code error;
        fs::remove_all(Path, error);
    }
};

}  // namespace

const fs::path& ScratchFolder() {
    static const TScratch scratch;
    return scratch.Path;
}

void WriteFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) std::abort();  // a fuzz run without its file proves nothing
}

std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace trelvanox::fuzz
