#pragma once

#include <filesystem>

namespace trelvanox {

// The folder of the settings file. The program's own folder when it takes new files (a build
// folder, a portable copy), where the file has always lived; otherwise, for an installed program
// whose folder belongs to the system, the user's configuration folder, made when missing. An
// installed program (its data in share/trelvanox beside its bin folder) uses the user's folder
// even when its folder is writable, as for root: a file of its own among the system's programs
// would outlive the package. The file keeps its name and format in either place. With no user
// folder to go to, the program's folder stays, and saving there reports the failure with the
// file's path.
std::filesystem::path SettingsFolder(const std::filesystem::path& programFolder,
                                     const std::filesystem::path& userFolder);

}  // namespace trelvanox
