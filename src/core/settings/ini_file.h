#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "common/program_error.h"

namespace trelvanox {

// Raised when a key cannot be stored: "Unable to write to <path>".
class TIniWriteError : public TProgramError {
  public:
    using TProgramError::TProgramError;
};

// An INI file read and written one key at a time, as private-profile files are: every read
// looks at the file as it is on disk, every write reaches the disk before it returns. Text is
// Windows-1251 on disk and UTF-8 here. Section and key names match without regard to ASCII
// case; sections, keys, comments and lines this class does not know are kept as they are.
class TIniFile {
  public:
    explicit TIniFile(std::filesystem::path path) : path_(std::move(path)) {}
    const std::filesystem::path& Path() const { return path_; }

    // The value with surrounding blanks and one pair of enclosing quotes removed; the default
    // when the file, the section or the key is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // The default also when the value is not a decimal whole number.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;

    // Creates the file, the section or the key as needed. Throws TIniWriteError.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);

  private:
    std::filesystem::path path_;
};

}  // namespace trelvanox
