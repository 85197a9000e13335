#include "labels/read_label_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace trelvanox {
namespace {

constexpr int kNumber = static_cast<int>(TReadLabelColumn::Number);
constexpr int kTrace = static_cast<int>(TReadLabelColumn::Trace);
constexpr int kCoordinate = static_cast<int>(TReadLabelColumn::Coordinate);
constexpr int kColor = static_cast<int>(TReadLabelColumn::Color);
constexpr int kChainage = static_cast<int>(TReadLabelColumn::Chainage);
constexpr int kCols = static_cast<int>(TReadLabelColumn::Count);

struct TTrace {
    std::int32_t Coordinate;
    std::uint32_t LabelIndex;
};

struct TRecord {
    std::uint32_t Color;
    std::string_view TextBytes;  // Windows-1251
};

// What a read of a file with these traces and label records would give: one slot per trace,
// unfilled slots zero, counters from the trace headers.
TRadargramContents Contents(const std::vector<TTrace>& traces,
                            const std::vector<TRecord>& records = {},
                            std::int64_t startCoordinate = 0) {
    TRadargramContents contents;
    contents.Header.TraceCount = static_cast<std::uint32_t>(traces.size());
    contents.Header.LabelCount = static_cast<std::uint32_t>(records.size());
    contents.Header.StartCoordinate = startCoordinate;
    for (const TTrace& trace : traces) {
        TTraceHeader header{};
        header.Coordinate = trace.Coordinate;
        header.LabelIndex = trace.LabelIndex;
        contents.TraceHeaders.push_back(header);
        if (trace.LabelIndex != 0) ++contents.LabelTotal;
        if (trace.LabelIndex == 1) ++contents.LabelsWithoutText;
        if (trace.LabelIndex > 1) ++contents.LabelsWithText;
    }
    contents.LabelRecords.resize(traces.size(), TLabelRecord{});
    for (std::size_t k = 0; k < records.size(); ++k) {
        TLabelRecord& record = contents.LabelRecords[k];
        record.LabelNumber = static_cast<std::int32_t>(k + 2);
        record.LabelColor = records[k].Color;
        std::memcpy(record.LabelText, records[k].TextBytes.data(), records[k].TextBytes.size());
    }
    return contents;
}

// The grid as the reader leaves it after its clearing, with marks to see what the fill wrote.
TStringGrid MarkedGrid(int rows = kReadLabelRows) {
    TStringGrid grid(kCols, rows);
    for (int row = 1; row < rows; ++row)
        for (int col = 0; col < kCols; ++col) grid.SetCell(col, row, "keep");
    return grid;
}

std::vector<std::string> Row(const TStringGrid& grid, int row) {
    std::vector<std::string> cells;
    for (int col = 0; col < kCols; ++col) cells.push_back(grid.Cell(col, row));
    return cells;
}

using Cells = std::vector<std::string>;

TEST(ReadLabelCaptions, WritesTheSixTitles) {
    TStringGrid grid(kCols, 2);
    SetReadLabelCaptions(grid);
    EXPECT_EQ(Row(grid, 0), (Cells{"№ п/п", "№ трассы", "Подпись метки",
                                   "Координата \n от начала, м", "Цвет метки", "ПК+"}));
    EXPECT_EQ(Row(grid, 1), Cells(kCols));
}

TEST(FillReadLabelTable, WithoutLabelsWritesOnlyTitles) {
    TRadargram model;
    model.Replace(Contents({{0, 0}, {5000, 0}}), "/data/a.gpr");
    TStringGrid grid = MarkedGrid();
    const TReadLabelCounts counts = FillReadLabelTable(grid, model);

    EXPECT_EQ(grid.Cell(kNumber, 0), "№ п/п");
    EXPECT_EQ(Row(grid, 1), Cells(kCols, "keep"));
    EXPECT_EQ(counts.Total, "0");
    EXPECT_EQ(counts.WithText, "0");
    EXPECT_EQ(counts.WithoutText, "0");
}

// A label without text between labels with text: the text follows LabelIndex, the colour the
// row's position.
TEST(FillReadLabelTable, TextFromLabelIndexColourFromRow) {
    TRadargram model;
    model.Replace(Contents({{0, 0}, {1999, 2}, {-1999, 1}, {4000, 0}, {250000, 3}},
                           {{0x0000FF, "\xCC\xEE\xF1\xF2"},  // Мост
                            {0x00FF00, "km 5"},
                            {0xFF0000, "unused"}}),
                  "/data/a.gpr");
    TStringGrid grid = MarkedGrid();
    const TReadLabelCounts counts = FillReadLabelTable(grid, model);

    EXPECT_EQ(Row(grid, 1), (Cells{"1", "1", "Мост", "1", "255", "ПК0+01"}));
    EXPECT_EQ(Row(grid, 2), (Cells{"2", "2", "keep", "-1", "65280", "ПК0+-1"}));
    EXPECT_EQ(Row(grid, 3), (Cells{"3", "4", "km 5", "250", "16711680", "ПК2+50"}));
    EXPECT_EQ(Row(grid, 4), Cells(kCols, "keep"));
    EXPECT_EQ(grid.RowCount(), kReadLabelRows);
    EXPECT_EQ(counts.Total, "3");
    EXPECT_EQ(counts.WithText, "2");
    EXPECT_EQ(counts.WithoutText, "1");
}

TEST(FillReadLabelTable, LabelsWithoutTextLeaveTextColumn) {
    TRadargram model;
    model.Replace(Contents({{1000, 1}, {2000, 1}}), "/data/a.gpr");
    TStringGrid grid(kCols, kReadLabelRows);
    const TReadLabelCounts counts = FillReadLabelTable(grid, model);

    EXPECT_EQ(Row(grid, 1), (Cells{"1", "0", "", "1", "0", "ПК0+01"}));
    EXPECT_EQ(Row(grid, 2), (Cells{"2", "1", "", "2", "0", "ПК0+02"}));
    EXPECT_EQ(counts.Total, "2");
    EXPECT_EQ(counts.WithText, "0");
    EXPECT_EQ(counts.WithoutText, "2");
}

// A LabelIndex may name no slot, and a row may have no colour slot: neither is read.
TEST(FillReadLabelTable, RecordsBeyondSlotsShowEmptyTextAndZeroColour) {
    TRadargramContents contents = Contents({{0, 0xFFFFFFFF}, {0, 1}}, {{7, "text"}});
    contents.LabelRecords.resize(1);
    TRadargram model;
    model.Replace(std::move(contents), "/data/a.gpr");
    TStringGrid grid = MarkedGrid();
    const TReadLabelCounts counts = FillReadLabelTable(grid, model);

    EXPECT_EQ(Row(grid, 1), (Cells{"1", "0", "", "0", "7", "ПК0+00"}));
    EXPECT_EQ(grid.Cell(kColor, 2), "0");
    EXPECT_EQ(counts.Total, "2");
    EXPECT_EQ(counts.WithText, "1");
    EXPECT_EQ(counts.WithoutText, "1");
}

TEST(FillReadLabelTable, GridGrowsBeyondItsRowsForEveryLabel) {
    const int labels = kReadLabelRows + 500;
    std::vector<TTrace> traces(static_cast<std::size_t>(labels), TTrace{0, 1});
    TRadargram model;
    model.Replace(Contents(traces), "/data/a.gpr");
    TStringGrid grid(kCols, kReadLabelRows);
    FillReadLabelTable(grid, model);

    EXPECT_EQ(grid.RowCount(), labels + 1);
    EXPECT_EQ(grid.Cell(kNumber, labels), std::to_string(labels));
    EXPECT_EQ(grid.Cell(kTrace, labels), std::to_string(labels - 1));
}

// Labels set in memory after the read do not show: the counters describe the read.
TEST(FillReadLabelTable, WritesNoMoreRowsThanTheReadCounted) {
    TRadargram model;
    model.Replace(Contents({{0, 1}, {0, 0}, {0, 1}, {0, 0}}, {{9, "new"}}), "/data/a.gpr");
    model.TraceHeaders()[1].LabelIndex = 2;
    model.TraceHeaders()[3].LabelIndex = 1;
    model.Header().TraceCount = 1000;  // beyond the trace headers: must not be followed

    TStringGrid small(kCols, 2);
    FillReadLabelTable(small, model);
    EXPECT_EQ(small.RowCount(), 3);
    EXPECT_EQ(Row(small, 2), (Cells{"2", "1", "new", "0", "0", "ПК0+00"}));

    TStringGrid grid = MarkedGrid(10);
    const TReadLabelCounts counts = FillReadLabelTable(grid, model);
    EXPECT_EQ(grid.Cell(kTrace, 2), "1");
    EXPECT_EQ(Row(grid, 3), Cells(kCols, "keep"));
    EXPECT_EQ(grid.RowCount(), 10);
    EXPECT_EQ(counts.Total, "2");
}

struct TChainageCase {
    std::int32_t Coordinate;
    std::int64_t Start;
    const char* Metres;
    const char* Chainage;
};

class Chainage : public testing::TestWithParam<TChainageCase> {};

TEST_P(Chainage, CoordinateAndChainageColumns) {
    const TChainageCase& c = GetParam();
    TRadargram model;
    model.Replace(Contents({{c.Coordinate, 1}}, {}, c.Start), "/data/a.gpr");
    TStringGrid grid(kCols, kReadLabelRows);
    FillReadLabelTable(grid, model);
    EXPECT_EQ(grid.Cell(kCoordinate, 1), c.Metres);
    EXPECT_EQ(grid.Cell(kChainage, 1), c.Chainage);
    EXPECT_EQ(ChainageText(c.Coordinate, c.Start), c.Chainage);
}

constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax64 = std::numeric_limits<std::int64_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Cases, Chainage,
    testing::Values(
        TChainageCase{0, 0, "0", "ПК0+00"}, TChainageCase{999, 0, "0", "ПК0+00"},
        TChainageCase{5000, 0, "5", "ПК0+05"}, TChainageCase{9999, 0, "9", "ПК0+09"},
        TChainageCase{10000, 0, "10", "ПК0+10"}, TChainageCase{105000, 0, "105", "ПК1+05"},
        TChainageCase{123456, 0, "123", "ПК1+23"}, TChainageCase{20000, 150000, "20", "ПК1+20"},
        TChainageCase{-5000, 0, "-5", "ПК0+-5"}, TChainageCase{-105000, 0, "-105", "ПК-1+-5"},
        TChainageCase{-1999, 0, "-1", "ПК0+-1"}, TChainageCase{5000, -250000, "5", "ПК-2+05"},
        TChainageCase{kMax32, 0, "2147483", "ПК21474+83"},
        TChainageCase{kMin32, 0, "-2147483", "ПК-21474+-83"},
        TChainageCase{kMax32, kMax64, "2147483", "ПК92233720390021+83"},
        TChainageCase{kMin32, kMin64, "-2147483", "ПК-92233720390021+-83"}));

}  // namespace
}  // namespace trelvanox
