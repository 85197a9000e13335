#include "exchange/clipboard_text.h"

#include <map>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "labels/edit_table.h"

namespace trelvanox {
namespace {

std::string Tag(int col, int row) {
    return std::to_string(col) + ":" + std::to_string(row);
}

// A grid whose every cell names its own place.
TStringGrid TaggedGrid(int cols, int rows) {
    TStringGrid grid(cols, rows);
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col) grid.SetCell(col, row, Tag(col, row));
    return grid;
}

TStringGrid StartEditTable() {
    TStringGrid grid(static_cast<int>(TEditTableColumn::Count), kEditTableRows);
    SetEditTableCaptions(grid);
    return grid;
}

TEST(CopyTableTest, CopiesTheWholeStartTable) {
    std::string expected =
        "№ п/п\tПодпись метки\tКоордината \n от начала, м\tЦвет метки(индекс)\r\n";
    for (int row = 1; row < kEditTableRows; ++row) expected += "\t\t\t\r\n";
    EXPECT_EQ(BuildClipboardText(StartEditTable()), expected);
}

TEST(CopyTableTest, KeepsOnlyWhatWindows1251Holds) {
    TStringGrid grid(2, 2);
    grid.SetCell(0, 0, "Опора №3 ✓");
    grid.SetCell(1, 0, "«ё»");
    grid.SetCell(0, 1, "😀");
    EXPECT_EQ(BuildClipboardText(grid), "Опора №3 ?\t«ё»\r\n?\t\r\n");
}

// A paste into a tagged grid of four columns and four rows: the size afterwards and the cells
// that no longer hold their tag; every other cell must still hold it (or be empty when new).
struct TPasteCase {
    const char* Name;
    std::string Text;
    int Cols;
    int Rows;
    std::map<std::pair<int, int>, std::string> Changed;  // (col, row) -> text
};

void PrintTo(const TPasteCase& c, std::ostream* os) {
    *os << c.Name;
}

constexpr int kCols = 4;
constexpr int kRows = 4;

class PasteTableTest : public ::testing::TestWithParam<TPasteCase> {};

TEST_P(PasteTableTest, FillsFromRowOneAndKeepsCellsNotReached) {
    const TPasteCase& c = GetParam();
    TStringGrid grid = TaggedGrid(kCols, kRows);

    ASSERT_TRUE(PasteClipboardText(grid, c.Text));

    ASSERT_EQ(grid.ColCount(), c.Cols);
    ASSERT_EQ(grid.RowCount(), c.Rows);
    for (int row = 0; row < c.Rows; ++row) {
        for (int col = 0; col < c.Cols; ++col) {
            const auto changed = c.Changed.find({col, row});
            const std::string expected = changed != c.Changed.end()   ? changed->second
                                         : col < kCols && row < kRows ? Tag(col, row)
                                                                      : "";
            EXPECT_EQ(grid.Cell(col, row), expected) << "cell " << col << "," << row;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PasteTableTest,
    ::testing::Values(
        TPasteCase{"BlockOfTwoRowsAndThreeColumns",
                   "a\tb\tc\r\nd\te\tf\r\n",
                   4,
                   4,
                   {{{0, 1}, "a"},
                    {{1, 1}, "b"},
                    {{2, 1}, "c"},
                    {{0, 2}, "d"},
                    {{1, 2}, "e"},
                    {{2, 2}, "f"}}},
        TPasteCase{"SixCellsWidenTheTable",
                   "1\t2\t3\t4\t5\t6\r\n",
                   6,
                   4,
                   {{{0, 1}, "1"},
                    {{1, 1}, "2"},
                    {{2, 1}, "3"},
                    {{3, 1}, "4"},
                    {{4, 1}, "5"},
                    {{5, 1}, "6"}}},
        TPasteCase{"MoreLinesThanRows",
                   "a\r\nb\r\nc\r\nd\r\ne\r\n",
                   4,
                   6,
                   {{{0, 1}, "a"}, {{0, 2}, "b"}, {{0, 3}, "c"}, {{0, 4}, "d"}, {{0, 5}, "e"}}},
        TPasteCase{
            "TwoTabsGiveAnEmptyCell", "a\t\tb", 4, 4, {{{0, 1}, "a"}, {{1, 1}, ""}, {{2, 1}, "b"}}},
        TPasteCase{"FinalTabEmptiesTheNextCell", "a\t\r\n", 4, 4, {{{0, 1}, "a"}, {{1, 1}, ""}}},
        TPasteCase{"EmptyLineEmptiesOnlyColumnZero",
                   "a\tb\r\n\r\nc\td\r\n",
                   4,
                   4,
                   {{{0, 1}, "a"}, {{1, 1}, "b"}, {{0, 2}, ""}, {{0, 3}, "c"}, {{1, 3}, "d"}}},
        TPasteCase{"LastLineWithoutBreak",
                   "a\r\nb\tc",
                   4,
                   4,
                   {{{0, 1}, "a"}, {{0, 2}, "b"}, {{1, 2}, "c"}}},
        TPasteCase{"LineFeedsAloneStayInCells",
                   "a\nb\tc\rd\ne\n",
                   4,
                   4,
                   {{{0, 1}, "a\nb"}, {{1, 1}, "c\rd\ne\n"}}},
        TPasteCase{"OnlyABreak", "\r\n", 4, 4, {{{0, 1}, ""}}},
        TPasteCase{"CellsKeptAsTheyAre",
                   " Метка 1 \t\"q\"",
                   4,
                   4,
                   {{{0, 1}, " Метка 1 "}, {{1, 1}, "\"q\""}}}),
    [](const auto& info) { return info.param.Name; });

TEST(PasteTableTest, EmptyTextChangesNothing) {
    TStringGrid grid = TaggedGrid(kCols, kRows);
    EXPECT_FALSE(PasteClipboardText(grid, ""));
    ASSERT_EQ(grid.ColCount(), kCols);
    ASSERT_EQ(grid.RowCount(), kRows);
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kCols; ++col) EXPECT_EQ(grid.Cell(col, row), Tag(col, row));
}

TEST(PasteTableTest, CopyThenPasteMovesEveryRowDownByOne) {
    TStringGrid grid = StartEditTable();
    grid.SetCell(1, 5, "Мост");
    grid.SetCell(3, kEditTableRows - 1, "14");
    const TStringGrid before = grid;

    ASSERT_TRUE(PasteClipboardText(grid, BuildClipboardText(grid)));

    ASSERT_EQ(grid.RowCount(), kEditTableRows + 1);
    ASSERT_EQ(grid.ColCount(), before.ColCount());
    for (int col = 0; col < grid.ColCount(); ++col) {
        EXPECT_EQ(grid.Cell(col, 0), before.Cell(col, 0));
        for (int row = 1; row <= kEditTableRows; ++row)
            ASSERT_EQ(grid.Cell(col, row), before.Cell(col, row - 1)) << col << "," << row;
    }
}

}  // namespace
}  // namespace trelvanox
