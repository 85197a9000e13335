#pragma once

#include <string>
#include <string_view>

#include "common/string_grid.h"

namespace trelvanox {

// The clipboard side of the edit table (sgNewSetsLabels). Texts are UTF-8 on both sides; the
// caller moves them to and from the clipboard.

// What the paste shows, in a plain message box, when the clipboard holds no text.
inline constexpr std::string_view kNothingToPasteMessage = "Необходимо скопировать данные!";

// The copy text: every row from row 0 to the last, its cells joined by TAB and ended by CR LF,
// without quoting. The text passes through Windows-1251, so a character outside that code page
// arrives as "?".
std::string BuildClipboardText(const TStringGrid& grid);

// Puts the text into the grid: the lines (split at CR LF only; a lone LF or CR stays in its
// cell) go to rows 1, 2, ..., the cells of a line (split at TAB) to columns 0, 1, ...; the grid
// grows as far as the text needs and never shrinks; cells the text does not reach keep their
// contents. Returns false, with the grid unchanged, for an empty text: the caller then shows
// kNothingToPasteMessage.
bool PasteClipboardText(TStringGrid& grid, std::string_view text);

}  // namespace trelvanox
