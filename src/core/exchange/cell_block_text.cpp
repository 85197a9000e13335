#include "exchange/cell_block_text.h"

#include <algorithm>
#include <vector>

namespace trelvanox {

namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

}  // namespace

std::string BuildCellBlockText(const TStringGrid& grid, const TCellBlock& block) {
    std::string text;
    for (int row = block.FirstRow; row <= block.LastRow; ++row) {
        for (int col = block.FirstCol; col <= block.LastCol; ++col) {
            if (col > block.FirstCol) text.push_back('\t');
            text.append(grid.Cell(col, row));
        }
        text.append("\r\n");
    }
    return text;
}

TCellBlock PasteCellBlockText(TStringGrid& grid, int col, int row, std::string_view text) {
    // One line end closes the last line; it does not open an empty one.
    if (text.ends_with('\n')) text.remove_suffix(1);
    if (text.ends_with('\r')) text.remove_suffix(1);
    if (text.empty() || col < 0 || row < 0 || col >= grid.ColCount())
        return {col, row, col - 1, row - 1};
    std::vector<std::string_view> lines = Split(text, '\n');
    for (std::string_view& line : lines)
        if (line.ends_with('\r')) line.remove_suffix(1);

    const int lastRow = row + static_cast<int>(lines.size()) - 1;
    if (lastRow >= grid.RowCount()) grid.SetRowCount(lastRow + 1);
    int lastCol = col;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        int c = col;
        for (const std::string_view cell : Split(lines[k], '\t')) {
            if (c >= grid.ColCount()) break;
            grid.SetCell(c, row + static_cast<int>(k), std::string(cell));
            lastCol = std::max(lastCol, c++);
        }
    }
    return {col, row, lastCol, lastRow};
}

}  // namespace trelvanox
