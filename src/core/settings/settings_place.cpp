#include "settings/settings_place.h"

#include <system_error>

#include "settings/durable_file.h"

namespace trelvanox {

namespace fs = std::filesystem;

namespace {

bool IsInstalled(const fs::path& programFolder) {
    std::error_code ignored;
    return fs::is_directory(programFolder / ".." / "share" / "trelvanox", ignored);
}

}  // namespace

fs::path SettingsFolder(const fs::path& programFolder, const fs::path& userFolder) {
    // Whether the settings can be replaced there is what counts, and the durable replace
    // creates a file beside them: a permission check alone misses read-only media and, on
    // Windows, access lists.
    if (userFolder.empty() || (!IsInstalled(programFolder) && FolderTakesNewFiles(programFolder)))
        return programFolder;
    std::error_code ignored;
    fs::create_directories(userFolder, ignored);
    return userFolder;
}

}  // namespace trelvanox
