#include "settings/durable_file.h"

#include <system_error>

namespace trelvanox {

namespace fs = std::filesystem;

bool ReplaceFileDurably(const fs::path& target, std::string_view bytes, const TFileWriteCall& write,
                        bool* renamed, const TFolderSyncCall& syncFolder) {
    return ReplaceFileDurably(
        target, [bytes](const TPieceWriter& piece) { return piece(bytes); }, write, renamed,
        syncFolder);
}

// The file that a write must replace: the path itself or, through symbolic links, their target.
std::optional<fs::path> ResolveSymlinks(fs::path path) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
        const auto link = fs::read_symlink(path, error);
        if (error) return std::nullopt;
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return std::nullopt;
}

}  // namespace trelvanox
