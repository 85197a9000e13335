// The user's folders as the XDG base directory conventions name them.

#include <cstdlib>
#include <string>

#include "common/user_folders.h"

namespace trelvanox {

namespace fs = std::filesystem;

namespace {

// base/trelvanox from the variable, else home/fallback/trelvanox.
fs::path ProgramFolder(const TEnvironmentLookup& lookup, std::string_view variable,
                       const fs::path& fallback) {
    if (const auto base = lookup(variable)) return *base / "trelvanox";
    if (const auto home = lookup("HOME")) return *home / fallback / "trelvanox";
    return {};
}

}  // namespace

std::optional<fs::path> EnvironmentPath(std::string_view name) {
    const char* value = std::getenv(std::string(name).c_str());
    if (!value || !*value) return std::nullopt;
    return fs::path(value);
}

fs::path UserConfigFolder(const TEnvironmentLookup& lookup) {
    return ProgramFolder(lookup, "XDG_CONFIG_HOME", ".config");
}

fs::path UserStateFolder(const TEnvironmentLookup& lookup) {
    return ProgramFolder(lookup, "XDG_STATE_HOME", fs::path(".local") / "state");
}

}  // namespace trelvanox
