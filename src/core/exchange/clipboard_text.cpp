#include "exchange/clipboard_text.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <vector>

#include "common/cp1251.h"

namespace trelvanox {

namespace {

constexpr char kTab = '\t';
constexpr std::string_view kLineEnd = "\r\n";

int GridSize(std::size_t count) {
    return static_cast<int>(std::min<std::size_t>(count, std::numeric_limits<int>::max()));
}

// The cells of one line: a TAB ends every cell, the last one included, so a line ending with a
// TAB has an empty last cell and an empty line has one empty cell.
std::vector<std::string_view> SplitCells(std::string_view line) {
    std::vector<std::string_view> cells;
    for (;;) {
        const std::size_t tab = line.find(kTab);
        cells.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) break;
        line.remove_prefix(tab + 1);
    }
    return cells;
}

}  // namespace

std::string BuildClipboardText(const TStringGrid& grid) {
    std::string text;
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (int col = 0; col < grid.ColCount(); ++col) {
            if (col > 0) text.push_back(kTab);
            text.append(grid.Cell(col, row));
        }
        text.append(kLineEnd);
    }
    // What the 8-bit clipboard text keeps of the cells.
    return DecodeCp1251(EncodeCp1251(text));
}

bool PasteClipboardText(TStringGrid& grid, std::string_view text) {
    if (text.empty()) return false;

    std::vector<std::vector<std::string_view>> lines;
    std::size_t widest = 0;
    while (!text.empty()) {
        const std::size_t end = text.find(kLineEnd);
        lines.push_back(SplitCells(text.substr(0, end)));
        widest = std::max(widest, lines.back().size());
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + kLineEnd.size());
    }

    // The grid grows to hold every line and every field, and never shrinks.
    if (lines.size() + 1 > static_cast<std::size_t>(grid.RowCount()))
        grid.SetRowCount(GridSize(lines.size() + 1));
    if (widest > static_cast<std::size_t>(grid.ColCount())) grid.SetColCount(GridSize(widest));

    for (std::size_t k = 0; k < lines.size(); ++k) {
        int col = 0;
        for (const std::string_view cell : lines[k])
            grid.SetCell(col++, GridSize(k + 1), std::string(cell));
    }
    return true;
}

}  // namespace trelvanox
