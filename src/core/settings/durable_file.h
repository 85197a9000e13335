#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace trelvanox {

// Replaces the file at target with bytes so that it holds either its old or its new content
// whatever happens, and the new content is on the disk when this returns true: a temporary file
// beside it is written and synced, renamed over it, and the folder synced. Permission bits of an
// existing target are kept.
bool ReplaceFileDurably(const std::filesystem::path& target, std::string_view bytes);

// The file a path finally names through symbolic links; nothing for a broken or endless chain.
std::optional<std::filesystem::path> ResolveSymlinks(std::filesystem::path path);

}  // namespace trelvanox
