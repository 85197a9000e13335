#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

namespace trelvanox {

// One write into an open file descriptor (the C runtime's on Windows): how many of the bytes
// went, or -1 with errno set, as the system's write returns. Tests pass one that fails part-way, as
// a full disk does.
using TFileWriteCall = std::function<std::ptrdiff_t(int fd, std::string_view bytes)>;

// Makes a folder's entries durable (fsync of the folder); true when it did. Tests pass one that
// fails, as an I/O error does after a rename.
using TFolderSyncCall = std::function<bool(const std::filesystem::path& folder)>;

// Replaces the file at target with bytes so that it holds either its old or its new content
// whatever happens, and the new content is on the disk when this returns true: a temporary file
// beside it is written (through write, the system's write when empty) and synced, renamed over
// it, and the folder synced. Permission bits of an existing target are kept. On false errno
// holds the reason, and no temporary file is left behind. A folder sync that fails is tried a
// few times more; renamed (when given) then tells a false that came after the rename, when the
// target already holds the new content but its folder entry may not be on the disk yet.
// syncFolder syncs the folder (the system's sync when empty; Windows needs none, its rename
// writes through, so there only a given one is called).
bool ReplaceFileDurably(const std::filesystem::path& target, std::string_view bytes,
                        const TFileWriteCall& write = {}, bool* renamed = nullptr,
                        const TFolderSyncCall& syncFolder = {});

// Hands one piece of a file's content to the file being written; false (errno set) when the
// piece could not be stored, after which the producer should stop.
using TPieceWriter = std::function<bool(std::string_view piece)>;
// Produces a file's content piece by piece through the writer it is given; false when it
// stopped because a piece failed. It may also throw, which abandons the replacement.
using TFileContent = std::function<bool(const TPieceWriter& write)>;

// As above, for content too large to build in memory first: content writes it in pieces into
// the temporary file. Whatever ends the replacement early (a failed piece, a failed sync, an
// exception from content) removes the temporary file and leaves the target as it was.
bool ReplaceFileDurably(const std::filesystem::path& target, const TFileContent& content,
                        const TFileWriteCall& write = {}, bool* renamed = nullptr,
                        const TFolderSyncCall& syncFolder = {});

// Whether the existing file at path may be written: false for a file marked read-only.
bool FileTakesWrites(const std::filesystem::path& path);

// Whether a new file can be created in the folder: tried with a file that is removed at once.
bool FolderTakesNewFiles(const std::filesystem::path& folder);

// The file a path finally names through symbolic links; nothing for a broken or endless chain.
std::optional<std::filesystem::path> ResolveSymlinks(std::filesystem::path path);

}  // namespace trelvanox
