#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/string_grid.h"

namespace trelvanox {

// Fills the edit table (sgNewSetsLabels) from the bytes of a delimited text file:
//   - every cell from column 0 and row 1 is emptied first; row 0 is left to the titles;
//   - line 0 holds titles and is skipped; line k goes to row k, field m to column m, each field
//     converted through Windows-1251 (see DecodeTextLines and SplitDelimitedLine);
//   - the grid grows, never shrinks, to hold every line and every field, so nothing is dropped;
//   - the four titles of the edit table are written last.
// Empty bytes only empty the grid and write the titles. A table this program exported (its title
// record first) is read with the export's quoting and goes into the edit table as the table
// transfer puts the read-label table (TranslateLabelTable): same rows, numbers, texts and
// coordinates, colours indexed.
void FillGridFromDelimitedText(TStringGrid& grid, std::string_view fileBytes, char delimiter);

// The largest table file the import reads. A label table of 6000 rows is well under 1 MB; the
// limit keeps an endless or huge source from exhausting memory.
inline constexpr std::size_t kMaxTableFileBytes = 64 * 1024 * 1024;

// The refusals of a source larger than kMaxTableFileBytes and of one that is neither a regular
// file nor a folder (a device such as /dev/zero, a FIFO), each naming the limit.
std::string OversizedTableMessage(std::string_view path);
std::string NotRegularTableMessage(std::string_view path);

// The whole content of the file at path (UTF-8), at most kMaxTableFileBytes. A source over the
// limit or not a regular file throws TProgramError with the refusal above before anything is
// read into memory; a file that cannot be opened or read throws TProgramError "Cannot open file
// "<path>". <system's reason>".
std::string ReadWholeFile(const std::string& path);

// The import of a chosen file as one step. The file is read whole first: a refused source or a
// file that cannot be read leaves the grid as it was (and throws as ReadWholeFile).
void ImportDelimitedFile(TStringGrid& grid, const std::string& path, char delimiter);

}  // namespace trelvanox
