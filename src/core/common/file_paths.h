#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace trelvanox {

// File names travel through the program as UTF-8 text (the batch tool's arguments, messages,
// JSON); these turn them into paths and back the same way on every system. A plain
// std::string would be taken in the ANSI code page on Windows, where a Cyrillic name is lost.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8OfPath(const std::filesystem::path& path);

// Whether both paths name one existing file (through links too): a write to the first would
// replace the second.
bool NamesSameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// std::fopen by path: the wide name on Windows, so that any file name opens.
std::FILE* OpenCFile(const std::filesystem::path& path, const char* mode);

}  // namespace trelvanox
