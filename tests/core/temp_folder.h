#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace trelvanox::test {

// A fresh folder for one test, removed with everything in it when the test ends.
class TTempFolder {
  public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// Whether permission bits fail to stop this process (root on POSIX systems); the tests of
// read-only files skip then. On Windows a read-only file carries an attribute that stops all.
bool PermissionBitsIgnored();

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
// The same for text files, whose bytes are best compared as strings.
std::string ReadText(const std::filesystem::path& path);
void WriteText(const std::filesystem::path& path, const std::string& bytes);

}  // namespace trelvanox::test
