#include "labels/colour_reindex.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <unordered_map>

#include "common/conversion.h"
#include "common/number_format.h"
#include "labels/edit_table.h"
#include "labels/read_label_table.h"

namespace trelvanox {

namespace {

constexpr int ReadCol(TReadLabelColumn column) {
    return static_cast<int>(column);
}

constexpr int EditCol(TEditTableColumn column) {
    return static_cast<int>(column);
}

}  // namespace

std::vector<std::int32_t> ReindexLabelColours(std::span<const std::int32_t> colours) {
    // A file may hold 200000 labels: a lookup keeps this linear where a pairwise search is not.
    std::unordered_map<std::int32_t, std::int32_t> indexOf;
    std::vector<std::int32_t> indices;
    indices.reserve(colours.size());
    for (const std::int32_t colour : colours) {
        const std::int32_t next = static_cast<std::int32_t>(indexOf.size()) + 1;
        indices.push_back(indexOf.try_emplace(colour, next).first->second);
    }
    return indices;
}

void TranslateLabelTable(const TStringGrid& readTable, std::uint32_t labelCount,
                         TStringGrid& editTable) {
    ClearGridCells(editTable, 0, 1);
    SetEditTableCaptions(editTable);
    const int rows =
        static_cast<int>(std::min<std::uint32_t>(labelCount, std::numeric_limits<int>::max() - 1));
    if (editTable.RowCount() <= rows) editTable.SetRowCount(rows + 1);

    for (int row = 1; row <= rows; ++row) {
        editTable.SetCell(EditCol(TEditTableColumn::Number), row,
                          readTable.Cell(ReadCol(TReadLabelColumn::Number), row));
        editTable.SetCell(EditCol(TEditTableColumn::Text), row,
                          readTable.Cell(ReadCol(TReadLabelColumn::Text), row));
        editTable.SetCell(EditCol(TEditTableColumn::Coordinate), row,
                          readTable.Cell(ReadCol(TReadLabelColumn::Coordinate), row));
    }

    std::vector<std::int32_t> colours;
    colours.reserve(static_cast<std::size_t>(rows));
    for (int row = 1; row <= rows; ++row)
        colours.push_back(StrToInt(readTable.Cell(ReadCol(TReadLabelColumn::Color), row)));

    const std::vector<std::int32_t> indices = ReindexLabelColours(colours);
    for (int row = 1; row <= rows; ++row)
        editTable.SetCell(EditCol(TEditTableColumn::ColorIndex), row,
                          FormatSigned(indices[static_cast<std::size_t>(row - 1)]));
}

}  // namespace trelvanox
