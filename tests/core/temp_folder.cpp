#include "temp_folder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

namespace trelvanox::test {

TTempFolder::TTempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "test";
    for (char& c : name)
        if (c == '/') c = '_';
    // The build gives every test run a scratch folder of its own; by hand, the system's serves.
    const char* root = std::getenv("TRELVANOX_TEST_TMP");
    const std::filesystem::path base =
        root && *root ? std::filesystem::path(root) : std::filesystem::temp_directory_path();
    std::filesystem::create_directories(base);
    std::random_device random;
    do {
        path_ = base / ("trelvanox-" + name + "-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_));
}

TTempFolder::~TTempFolder() {
    std::error_code ec;
    // Tests may leave files read-only; give the owner write access back before removing.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ec))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

bool PermissionBitsIgnored() {
#ifdef _WIN32
    return false;
#else
    return ::geteuid() == 0;
#endif
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace trelvanox::test

namespace trelvanox::test {

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace trelvanox::test
