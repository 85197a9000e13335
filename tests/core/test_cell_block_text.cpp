#include <gtest/gtest.h>

#include "exchange/cell_block_text.h"

namespace trelvanox {
namespace {

TStringGrid Numbered(int cols, int rows) {
    TStringGrid grid(cols, rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            grid.SetCell(c, r, std::to_string(c) + ":" + std::to_string(r));
    return grid;
}

TEST(CellBlockText, ABlockIsCopiedRowByRowWithTabsBetweenCells) {
    const TStringGrid grid = Numbered(4, 4);
    EXPECT_EQ(BuildCellBlockText(grid, {1, 1, 2, 2}), "1:1\t2:1\r\n1:2\t2:2\r\n");
    EXPECT_EQ(BuildCellBlockText(grid, {3, 0, 3, 0}), "3:0\r\n");
}

struct TPasteCase {
    const char* Name;
    const char* Text;
    int Col, Row;
    TCellBlock Written;
    int RowCount;
};

class CellBlockPasteTest : public ::testing::TestWithParam<TPasteCase> {};

TEST_P(CellBlockPasteTest, TheBlockLandsFromTheCurrentCell) {
    const TPasteCase& c = GetParam();
    TStringGrid grid = Numbered(3, 4);
    const TCellBlock written = PasteCellBlockText(grid, c.Col, c.Row, c.Text);
    EXPECT_EQ(written.FirstCol, c.Written.FirstCol);
    EXPECT_EQ(written.FirstRow, c.Written.FirstRow);
    EXPECT_EQ(written.LastCol, c.Written.LastCol);
    EXPECT_EQ(written.LastRow, c.Written.LastRow);
    EXPECT_EQ(grid.RowCount(), c.RowCount);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CellBlockPasteTest,
    ::testing::Values(TPasteCase{"CrLf", "a\tb\r\nc\td\r\n", 1, 1, {1, 1, 2, 2}, 4},
                      TPasteCase{"LoneLf", "a\nb", 0, 2, {0, 2, 0, 3}, 4},
                      TPasteCase{"GrowsRows", "a\nb\nc", 0, 3, {0, 3, 0, 5}, 6},
                      // The third cell has no column to go to.
                      TPasteCase{"DropsColumns", "a\tb\tc", 1, 0, {1, 0, 2, 0}, 4},
                      TPasteCase{"Empty", "", 0, 0, {0, 0, -1, -1}, 4}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(CellBlockText, PastedCellsReplaceOnlyWhatTheTextReaches) {
    TStringGrid grid = Numbered(3, 3);
    PasteCellBlockText(grid, 1, 1, "x\r\ny\tz\r\n");
    EXPECT_EQ(grid.Cell(1, 1), "x");
    EXPECT_EQ(grid.Cell(2, 1), "2:1");
    EXPECT_EQ(grid.Cell(1, 2), "y");
    EXPECT_EQ(grid.Cell(2, 2), "z");
    EXPECT_EQ(grid.Cell(0, 1), "0:1");
    // Copied and pasted elsewhere, a block arrives whole.
    TStringGrid other(3, 3);
    PasteCellBlockText(other, 0, 0, BuildCellBlockText(grid, {1, 1, 2, 2}));
    EXPECT_EQ(BuildCellBlockText(other, {0, 0, 1, 1}), BuildCellBlockText(grid, {1, 1, 2, 2}));
}

}  // namespace
}  // namespace trelvanox
