#include "labels/read_label_table.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>

#include "common/number_format.h"
#include "model/text_field.h"

namespace trelvanox {

namespace {

constexpr int Col(TReadLabelColumn column) {
    return static_cast<int>(column);
}

constexpr std::array<const char*, static_cast<std::size_t>(TReadLabelColumn::Count)> kTitles{
    "№ п/п", "№ трассы", "Подпись метки", "Координата \n от начала, м", "Цвет метки", "ПК+",
};

constexpr std::int32_t kPicketMm = 100000;
constexpr std::int32_t kMmPerMetre = 1000;
constexpr std::int32_t kMetresPerPicket = 100;

// How many label rows the fill writes: the labelled traces in memory, but never more than the
// read counted, since the counters describe the file as read.
std::uint32_t LabelRowCount(std::span<const TTraceHeader> traces, std::uint32_t labelTotal) {
    std::uint32_t rows = 0;
    for (const TTraceHeader& trace : traces) {
        if (rows == labelTotal) break;
        if (trace.LabelIndex != 0) ++rows;
    }
    return rows;
}

std::string LabelTextOf(const TRadargram& model, std::uint32_t labelIndex) {
    // The index comes from the file and may name no slot at all.
    const TLabelRecord* record = model.FindLabelRecord(std::uint64_t{labelIndex} - 2);
    return record ? ReadTextField(record->LabelText) : std::string();
}

std::uint32_t LabelColorOf(const TRadargram& model, std::uint32_t row) {
    const TLabelRecord* record = model.FindLabelRecord(std::uint64_t{row} - 1);
    return record ? record->LabelColor : 0;
}

}  // namespace

void SetReadLabelCaptions(TStringGrid& grid) {
    int col = 0;
    for (const char* title : kTitles) grid.SetCell(col++, 0, title);
}

std::vector<TReadLabelRow> ReadLabelRows(const TRadargram& model) {
    std::vector<TReadLabelRow> rows;
    if (!model.HasHeader()) return rows;
    auto traces = model.TraceHeaders();
    traces = traces.first(std::min<std::size_t>(traces.size(), model.Header().TraceCount));
    const std::uint32_t rowCount = std::min<std::uint32_t>(
        LabelRowCount(traces, model.LabelTotal()), std::numeric_limits<int>::max() - 1);
    rows.reserve(rowCount);
    for (std::size_t t = 0; t < traces.size() && rows.size() < rowCount; ++t) {
        const TTraceHeader& trace = traces[t];
        if (trace.LabelIndex == 0) continue;
        TReadLabelRow& row = rows.emplace_back();
        row.Trace = static_cast<std::uint32_t>(t);
        row.Coordinate = trace.Coordinate;
        if (trace.LabelIndex >= 2) row.Text = LabelTextOf(model, trace.LabelIndex);
        // The colour follows the row's position, not the text's record.
        row.Color = LabelColorOf(model, static_cast<std::uint32_t>(rows.size()));
    }
    return rows;
}

TReadLabelCounts FillReadLabelTable(TStringGrid& grid, const TRadargram& model) {
    SetReadLabelCaptions(grid);
    TReadLabelCounts counts{FormatUnsigned(model.LabelTotal()),
                            FormatUnsigned(model.LabelsWithText()),
                            FormatUnsigned(model.LabelsWithoutText())};
    const std::vector<TReadLabelRow> rows = ReadLabelRows(model);
    // Every labelled trace gets its row: the grid grows rather than dropping the surplus.
    if (!rows.empty() && grid.RowCount() <= static_cast<int>(rows.size()))
        grid.SetRowCount(static_cast<int>(rows.size()) + 1);

    int gridRow = 1;
    for (const TReadLabelRow& row : rows) {
        grid.SetCell(Col(TReadLabelColumn::Number), gridRow, FormatSigned(gridRow));
        grid.SetCell(Col(TReadLabelColumn::Trace), gridRow, FormatUnsigned(row.Trace));
        // A label without text leaves whatever the cell holds.
        if (row.Text) grid.SetCell(Col(TReadLabelColumn::Text), gridRow, *row.Text);
        grid.SetCell(Col(TReadLabelColumn::Coordinate), gridRow,
                     FormatSigned(row.Coordinate / kMmPerMetre));
        grid.SetCell(Col(TReadLabelColumn::Color), gridRow, FormatUnsigned(row.Color));
        grid.SetCell(Col(TReadLabelColumn::Chainage), gridRow,
                     ChainageText(row.Coordinate, model.Header().StartCoordinate));
        ++gridRow;
    }
    return counts;
}

std::string ChainageText(std::int32_t coordinate, std::int64_t startCoordinate) {
    // Both pickets are cut toward zero on their own; the start's metres beyond its picket are
    // not carried into the metre part.
    const std::int32_t tracePickets = coordinate / kPicketMm;
    const std::int64_t picket = startCoordinate / kPicketMm + tracePickets;
    const std::int32_t metres = coordinate / kMmPerMetre - tracePickets * kMetresPerPicket;

    // Metres are always shown with two digits at least: "00", "05", "42"; negatives as they are.
    std::string metreText = FormatSigned(metres);
    if (metres == 0)
        metreText = "00";
    else if (metres >= 1 && metres <= 9)
        metreText = "0" + metreText;
    return "ПК" + FormatSigned64(picket) + "+" + metreText;
}

}  // namespace trelvanox
