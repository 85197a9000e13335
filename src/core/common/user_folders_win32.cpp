// The user's folders as Windows names them: roaming settings in %APPDATA%, state that belongs
// to this machine (the histories of its files) in %LOCALAPPDATA%.

#include <cstdlib>
#include <string>

#include "common/user_folders.h"

namespace trelvanox {

namespace fs = std::filesystem;

namespace {

fs::path ProgramFolder(const TEnvironmentLookup& lookup, std::string_view variable) {
    if (const auto base = lookup(variable)) return *base / "trelvanox";
    return {};
}

}  // namespace

std::optional<fs::path> EnvironmentPath(std::string_view name) {
    // Variable names are ASCII; the values may be any text.
    const std::wstring wide(name.begin(), name.end());
    const wchar_t* value = ::_wgetenv(wide.c_str());
    if (!value || !*value) return std::nullopt;
    return fs::path(value);
}

fs::path UserConfigFolder(const TEnvironmentLookup& lookup) {
    return ProgramFolder(lookup, "APPDATA");
}

fs::path UserStateFolder(const TEnvironmentLookup& lookup) {
    return ProgramFolder(lookup, "LOCALAPPDATA");
}

}  // namespace trelvanox
