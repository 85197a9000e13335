#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace trelvanox::fuzz {

// A folder of the fuzzing process's own, in memory where the system offers it (the writes sync
// every file, which a disk makes slow), removed when the process ends.
const std::filesystem::path& ScratchFolder();

// Makes the file at path hold exactly bytes.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);
std::string_view AsText(const std::uint8_t* data, std::size_t size);

}  // namespace trelvanox::fuzz
