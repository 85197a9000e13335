#include "labels/colour_reindex.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/conversion.h"
#include "labels/edit_table.h"
#include "labels/read_label_table.h"

namespace trelvanox {
namespace {

struct TReindexCase {
    const char* Name;
    std::vector<std::int32_t> Colours;
    std::vector<std::int32_t> Indices;
};

void PrintTo(const TReindexCase& c, std::ostream* os) {
    *os << c.Name;
}

class ReindexLabelColoursTest : public ::testing::TestWithParam<TReindexCase> {};

TEST_P(ReindexLabelColoursTest, NumbersColoursInOrderOfFirstOccurrence) {
    EXPECT_EQ(ReindexLabelColours(GetParam().Colours), GetParam().Indices);
}

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Colours, ReindexLabelColoursTest,
    ::testing::Values(TReindexCase{"NoLabels", {}, {}}, TReindexCase{"OneLabel", {65280}, {1}},
                      TReindexCase{"Example", {255, 16711680, 255, 0, 16711680}, {1, 2, 1, 3, 2}},
                      TReindexCase{"AllOneColour", {8388736, 8388736, 8388736}, {1, 1, 1}},
                      TReindexCase{"ZeroIsAColourLikeAnyOther", {0, 0, 255, 0}, {1, 1, 2, 1}},
                      TReindexCase{"ExtremeValues", {kMax, kMin, -1, kMax, -1}, {1, 2, 3, 1, 3}},
                      TReindexCase{"MoreThanFourteenColours",
                                   {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 1, 16},
                                   {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 1, 16}}),
    [](const auto& info) { return info.param.Name; });

// A read-label table as the reader leaves it: titles, then one row per label.
struct TReadRow {
    std::string Number, Trace, Text, Coordinate, Colour, Chainage;
};

TStringGrid ReadTable(const std::vector<TReadRow>& rows) {
    TStringGrid grid(static_cast<int>(TReadLabelColumn::Count), kReadLabelRows);
    SetReadLabelCaptions(grid);
    int row = 1;
    for (const TReadRow& r : rows) {
        int col = 0;
        for (const std::string* cell :
             {&r.Number, &r.Trace, &r.Text, &r.Coordinate, &r.Colour, &r.Chainage})
            grid.SetCell(col++, row, *cell);
        ++row;
    }
    return grid;
}

// An edit table holding something in every cell, titles included.
TStringGrid UsedEditTable(int rows = kEditTableRows) {
    TStringGrid grid(static_cast<int>(TEditTableColumn::Count), rows);
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col) grid.SetCell(col, row, "old");
    return grid;
}

void ExpectTitles(const TStringGrid& grid) {
    TStringGrid titled(static_cast<int>(TEditTableColumn::Count), 1);
    SetEditTableCaptions(titled);
    for (int col = 0; col < titled.ColCount(); ++col)
        EXPECT_EQ(grid.Cell(col, 0), titled.Cell(col, 0)) << "title " << col;
}

void ExpectEmptyFrom(const TStringGrid& grid, int firstRow) {
    for (int row = firstRow; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col)
            ASSERT_EQ(grid.Cell(col, row), "") << "cell " << col << "," << row;
}

const std::vector<TReadRow> kThreeLabels = {
    {"1", "10", "Опора №3", "20", "255", "ПК1+20"},
    {"2", "40", "", "-5", "16711680", "ПК0+95"},
    {"3", "77", "Мост", "105", "255", "ПК2+05"},
};

TEST(TranslateLabelTableTest, CopiesNumberTextCoordinateAndIndexesColours) {
    TStringGrid edit = UsedEditTable();

    TranslateLabelTable(ReadTable(kThreeLabels), 3, edit);

    ExpectTitles(edit);
    const std::vector<std::vector<std::string>> expected = {
        {"1", "Опора №3", "20", "1"}, {"2", "", "-5", "2"}, {"3", "Мост", "105", "1"}};
    for (int row = 1; row <= 3; ++row)
        for (int col = 0; col < 4; ++col)
            EXPECT_EQ(edit.Cell(col, row), expected[row - 1][col]) << col << "," << row;
    ExpectEmptyFrom(edit, 4);
    EXPECT_EQ(edit.RowCount(), kEditTableRows);
}

TEST(TranslateLabelTableTest, OneLabelGetsIndexOne) {
    TStringGrid edit = UsedEditTable();
    TranslateLabelTable(ReadTable({{"1", "0", "A", "7", "12632256", "ПК0+07"}}), 1, edit);
    EXPECT_EQ(edit.Cell(0, 1), "1");
    EXPECT_EQ(edit.Cell(1, 1), "A");
    EXPECT_EQ(edit.Cell(2, 1), "7");
    EXPECT_EQ(edit.Cell(3, 1), "1");
    ExpectEmptyFrom(edit, 2);
}

TEST(TranslateLabelTableTest, NoLabelsOnlyClearsAndTitles) {
    TStringGrid edit = UsedEditTable();
    TranslateLabelTable(ReadTable(kThreeLabels), 0, edit);
    ExpectTitles(edit);
    ExpectEmptyFrom(edit, 1);
}

TEST(TranslateLabelTableTest, SecondRunGivesTheSameTable) {
    const TStringGrid read = ReadTable(kThreeLabels);
    TStringGrid once = UsedEditTable();
    TranslateLabelTable(read, 3, once);
    TStringGrid twice = once;
    TranslateLabelTable(read, 3, twice);
    for (int row = 0; row < once.RowCount(); ++row)
        for (int col = 0; col < once.ColCount(); ++col)
            ASSERT_EQ(twice.Cell(col, row), once.Cell(col, row)) << col << "," << row;
}

TEST(TranslateLabelTableTest, HandlesMoreLabelsThanTheEditTableHasRows) {
    constexpr int kLabels = 9000;
    TStringGrid read = ReadTable({});
    read.SetRowCount(kLabels + 1);
    for (int row = 1; row <= kLabels; ++row) {
        read.SetCell(0, row, std::to_string(row));
        read.SetCell(4, row, std::to_string((row - 1) % 3 * 100));
    }
    TStringGrid edit = UsedEditTable(10);

    TranslateLabelTable(read, kLabels, edit);

    ASSERT_EQ(edit.RowCount(), kLabels + 1);
    EXPECT_EQ(edit.Cell(0, kLabels), std::to_string(kLabels));
    EXPECT_EQ(edit.Cell(3, 1), "1");
    EXPECT_EQ(edit.Cell(3, 2), "2");
    EXPECT_EQ(edit.Cell(3, 3), "3");
    EXPECT_EQ(edit.Cell(3, kLabels), "3");  // colour 200 again
}

struct TBadColourCase {
    const char* Name;
    std::string Cell;
};

void PrintTo(const TBadColourCase& c, std::ostream* os) {
    *os << c.Name;
}

class TranslateBadColourTest : public ::testing::TestWithParam<TBadColourCase> {};

TEST_P(TranslateBadColourTest, RaisesConversionErrorWithColumnsZeroToTwoCopied) {
    std::vector<TReadRow> rows = kThreeLabels;
    rows[2].Colour = GetParam().Cell;
    TStringGrid edit = UsedEditTable();

    try {
        TranslateLabelTable(ReadTable(rows), 3, edit);
        FAIL() << "no conversion error";
    } catch (const TConversionError& e) {
        EXPECT_EQ(std::string(e.what()), "'" + GetParam().Cell + "' is not a valid integer value");
    }

    ExpectTitles(edit);
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(edit.Cell(0, row), rows[row - 1].Number);
        EXPECT_EQ(edit.Cell(1, row), rows[row - 1].Text);
        EXPECT_EQ(edit.Cell(2, row), rows[row - 1].Coordinate);
        EXPECT_EQ(edit.Cell(3, row), "") << "row " << row;
    }
    ExpectEmptyFrom(edit, 4);
}

INSTANTIATE_TEST_SUITE_P(Cells, TranslateBadColourTest,
                         ::testing::Values(TBadColourCase{"Typed", "abc"},
                                           TBadColourCase{"Empty", ""},
                                           TBadColourCase{"SystemColour", "2147483648"},
                                           TBadColourCase{"Fraction", "12.5"}),
                         [](const auto& info) { return info.param.Name; });

}  // namespace
}  // namespace trelvanox
