#pragma once

#include <string>
#include <string_view>

#include "common/string_grid.h"
#include "settings/durable_file.h"

namespace trelvanox {

// The file name the export proposes: the radargram's file name followed by "_метки.txt".
std::string ExportFileNameFor(std::string_view radargramFileName);

// The export file of a grid (the read-label table, sgReadLabels) as Windows-1251 bytes: one record
// per row, row 0 and empty rows included; cells in column order with one TAB between them; CR LF
// after every record. A cell holding a double quote or any character with a code from 0 to 32 is
// written in double quotes with its quotes doubled; every other cell as it stands. A line feed
// inside a quoted cell is written as it is, so that record spans two lines.
std::string BuildExportText(const TStringGrid& grid);
// The encodings the export can write: Windows-1251 as other programs of the trade expect, or
// UTF-8 (with its byte-order mark, which spreadsheets look for) for every character.
enum class TTextEncoding { Windows1251, Utf8 };
// BuildExportText in the encoding; the cells are quoted alike.
std::string BuildExportText(const TStringGrid& grid, TTextEncoding encoding);

// The refusal of a path that exists and is not a regular file (a folder, a device, a FIFO).
std::string NotRegularFileMessage(std::string_view path);

// Creates or replaces the file at path with bytes, never in place: a temporary file in the same
// folder is written and synced, then renamed over the target (ReplaceFileDurably), so that on
// any failure the target is exactly as it was and no temporary file is left. A symbolic link is
// followed and the file it leads to replaced; the link stays. A path that is not a regular file
// throws TProgramError with NotRegularFileMessage; a file that cannot be created or written
// throws TProgramError "Cannot create file "<path>". <system's reason>". write is for tests:
// the writes into the temporary file, the system's when empty.
// Returns a durability warning for the user (Russian), empty when all went well: the file was
// renamed into place and holds the new content, but its folder could not be synced, so a power
// loss may still take it back.
// syncFolder is for tests too: the folder's sync after the rename, the system's when empty.
std::string WriteWholeFile(const std::string& path, std::string_view bytes,
                           const TFileWriteCall& write = {},
                           const TFolderSyncCall& syncFolder = {});

// The checks WriteWholeFile makes of path before it writes a byte, on their own: for a caller
// that writes several files and must not replace the first when a later one is refused.
void CheckReplaceableTarget(const std::string& path, std::string_view notRegularMessage);

// As WriteWholeFile for content written in pieces (see ReplaceFileDurably), with the refusal
// of a path that is not a regular file given by the caller.
std::string WriteFileInPieces(const std::string& path, const TFileContent& content,
                              std::string_view notRegularMessage, const TFileWriteCall& write = {},
                              const TFolderSyncCall& syncFolder = {});

// BuildExportText of the grid written to path as WriteWholeFile writes; its warning.
std::string ExportGridToFile(const TStringGrid& grid, const std::string& path,
                             const TFileWriteCall& write = {});
// The same in the encoding.
std::string ExportGridToFile(const TStringGrid& grid, const std::string& path,
                             TTextEncoding encoding, const TFileWriteCall& write = {});

}  // namespace trelvanox
