#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

namespace trelvanox {

// The value of an environment variable as a path; nothing when it is unset or empty. Tests pass
// their own table instead of the process's environment.
using TEnvironmentLookup =
    std::function<std::optional<std::filesystem::path>(std::string_view name)>;

// The process's own environment. On Windows the value is read as wide text, so that a user
// folder with a Cyrillic name survives.
std::optional<std::filesystem::path> EnvironmentPath(std::string_view name);

// This program's folder among the user's configuration files: $XDG_CONFIG_HOME/trelvanox, else
// ~/.config/trelvanox (on Windows %APPDATA%\trelvanox). Empty when the environment names no
// such place.
std::filesystem::path UserConfigFolder(const TEnvironmentLookup& lookup = EnvironmentPath);

// This program's folder for the state it keeps between runs (the files' histories):
// $XDG_STATE_HOME/trelvanox, else ~/.local/state/trelvanox (on Windows
// %LOCALAPPDATA%\trelvanox). Empty when the environment names no such place.
std::filesystem::path UserStateFolder(const TEnvironmentLookup& lookup = EnvironmentPath);

}  // namespace trelvanox
