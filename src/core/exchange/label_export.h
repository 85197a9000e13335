#pragma once

#include <string>
#include <string_view>

#include "common/string_grid.h"

namespace trelvanox {

// The file name the export proposes: the radargram's file name followed by "_метки.txt".
std::string ExportFileNameFor(std::string_view radargramFileName);

// The export file of a grid (the read-label table, sgReadLabels) as Windows-1251 bytes: one record
// per row, row 0 and empty rows included; cells in column order with one TAB between them; CR LF
// after every record. A cell holding a double quote or any character with a code from 0 to 32 is
// written in double quotes with its quotes doubled; every other cell as it stands. A line feed
// inside a quoted cell is written as it is, so that record spans two lines.
std::string BuildExportText(const TStringGrid& grid);

// Creates or replaces the file at path with bytes. A file that cannot be created or written
// throws TProgramError "Cannot create file "<path>". <system's reason>"; a file only partly
// written is removed.
void WriteWholeFile(const std::string& path, std::string_view bytes);

// BuildExportText of the grid written to path.
void ExportGridToFile(const TStringGrid& grid, const std::string& path);

}  // namespace trelvanox
