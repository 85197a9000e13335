#include "common/string_grid.h"

#include <climits>
#include <string>

#include <gtest/gtest.h>

namespace trelvanox {
namespace {

std::string Text(int col, int row) {
    return std::to_string(col) + ":" + std::to_string(row);
}

// A grid whose every cell names its own position.
TStringGrid FilledGrid(int colCount, int rowCount) {
    TStringGrid grid(colCount, rowCount);
    for (int row = 0; row < rowCount; ++row)
        for (int col = 0; col < colCount; ++col) grid.SetCell(col, row, Text(col, row));
    return grid;
}

TEST(StringGridTest, NewGridHasItsSizeAndEmptyCells) {
    const TStringGrid grid(3, 17);
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(grid.RowCount(), 17);
    for (int row = 0; row < 17; ++row)
        for (int col = 0; col < 3; ++col) EXPECT_EQ(grid.Cell(col, row), "");
}

TEST(StringGridTest, WritesEveryCellSeparately) {
    const TStringGrid grid = FilledGrid(4, 3);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col) EXPECT_EQ(grid.Cell(col, row), Text(col, row));
}

struct TResizeCase {
    int colCount;
    int rowCount;
};

class StringGridResizeTest : public ::testing::TestWithParam<TResizeCase> {};

TEST_P(StringGridResizeTest, KeepsCellsInsideAndEmptiesNewOnes) {
    constexpr int kCols = 3;
    constexpr int kRows = 4;
    TStringGrid grid = FilledGrid(kCols, kRows);
    grid.SetColCount(GetParam().colCount);
    grid.SetRowCount(GetParam().rowCount);
    ASSERT_EQ(grid.ColCount(), GetParam().colCount);
    ASSERT_EQ(grid.RowCount(), GetParam().rowCount);
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col)
            EXPECT_EQ(grid.Cell(col, row), col < kCols && row < kRows ? Text(col, row) : "")
                << "cell " << col << "," << row;

    // Growing back after a shrink does not bring lost cells back.
    grid.SetColCount(kCols);
    grid.SetRowCount(kRows);
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kCols; ++col)
            EXPECT_EQ(grid.Cell(col, row),
                      col < GetParam().colCount && row < GetParam().rowCount ? Text(col, row) : "")
                << "cell " << col << "," << row << " after restoring the size";
}

INSTANTIATE_TEST_SUITE_P(StringGrid, StringGridResizeTest,
                         ::testing::Values(TResizeCase{3, 4}, TResizeCase{5, 6}, TResizeCase{5, 4},
                                           TResizeCase{3, 9}, TResizeCase{2, 4}, TResizeCase{3, 1},
                                           TResizeCase{1, 2}, TResizeCase{6, 2}, TResizeCase{2, 7},
                                           TResizeCase{0, 0}));

struct TPosition {
    int col;
    int row;
};

class StringGridOutsideTest : public ::testing::TestWithParam<TPosition> {};

TEST_P(StringGridOutsideTest, ReadsEmptyAndIgnoresWrites) {
    TStringGrid grid = FilledGrid(3, 4);
    EXPECT_EQ(grid.Cell(GetParam().col, GetParam().row), "");
    grid.SetCell(GetParam().col, GetParam().row, "written");
    EXPECT_EQ(grid.Cell(GetParam().col, GetParam().row), "");
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(grid.RowCount(), 4);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col) EXPECT_EQ(grid.Cell(col, row), Text(col, row));
}

INSTANTIATE_TEST_SUITE_P(StringGrid, StringGridOutsideTest,
                         ::testing::Values(TPosition{-1, 0}, TPosition{0, -1},
                                           TPosition{3, 0},   // flat index of cell 0,1
                                           TPosition{-1, 1},  // flat index of cell 2,0
                                           TPosition{0, 4}, TPosition{3, 4},
                                           TPosition{INT_MIN, INT_MIN},
                                           TPosition{INT_MAX, INT_MAX}));

struct TClearCase {
    int firstCol;
    int firstRow;
};

class ClearGridCellsTest : public ::testing::TestWithParam<TClearCase> {};

TEST_P(ClearGridCellsTest, EmptiesOnlyTheCellsFromTheCorner) {
    constexpr int kCols = 5;
    constexpr int kRows = 6;
    TStringGrid grid = FilledGrid(kCols, kRows);
    ClearGridCells(grid, GetParam().firstCol, GetParam().firstRow);
    EXPECT_EQ(grid.ColCount(), kCols);
    EXPECT_EQ(grid.RowCount(), kRows);
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kCols; ++col) {
            const bool cleared = col >= GetParam().firstCol && row >= GetParam().firstRow;
            EXPECT_EQ(grid.Cell(col, row), cleared ? "" : Text(col, row))
                << "cell " << col << "," << row;
        }
}

INSTANTIATE_TEST_SUITE_P(StringGrid, ClearGridCellsTest,
                         ::testing::Values(TClearCase{0, 1},  // everything below the title row
                                           TClearCase{1, 1}, TClearCase{3, 2},
                                           TClearCase{4, 5},  // the last cell only
                                           TClearCase{0, 0}, TClearCase{-2, -1}, TClearCase{5, 0},
                                           TClearCase{0, 6}));

TEST(StringGridMemoryTest, EmptyCellsCostNothing) {
    TStringGrid grid(4000, 8000);
    EXPECT_EQ(grid.CellCapacity(), 0u);
    grid.SetCell(3999, 7999, "");  // writing the empty text stores nothing
    grid.SetColCount(100000);
    grid.SetRowCount(100000);
    EXPECT_EQ(grid.CellCapacity(), 0u);
}

TEST(StringGridMemoryTest, AWideRowDoesNotWidenTheOthers) {
    constexpr int kCols = 4000;
    TStringGrid grid(4, 8000);
    for (int row = 0; row < 3; ++row) grid.SetCell(3, row, "t");
    grid.SetColCount(kCols);
    for (int col = 0; col < kCols; ++col) grid.SetCell(col, 5, "w");
    EXPECT_EQ(grid.Cell(kCols - 1, 5), "w");
    EXPECT_EQ(grid.Cell(kCols - 1, 4), "");
    // The wide row with room to grow, and four cells in each of the three short rows.
    EXPECT_LE(grid.CellCapacity(), 2u * kCols + 3u * 4u);
}

TEST(StringGridMemoryTest, EmptiedCellsGiveTheirMemoryBack) {
    TStringGrid grid = FilledGrid(50, 60);
    ClearGridCells(grid, 0, 1);
    EXPECT_LE(grid.CellCapacity(), 2u * 50u);  // only the first row keeps cells
    grid.SetRowCount(0);
    EXPECT_EQ(grid.CellCapacity(), 0u);
}

TEST(StringGridMemoryTest, ShrinkingDropsTheCellsOutside) {
    TStringGrid grid = FilledGrid(50, 60);
    grid.SetColCount(2);
    grid.SetRowCount(3);
    grid.SetColCount(50);
    grid.SetRowCount(60);
    EXPECT_EQ(grid.Cell(1, 2), Text(1, 2));
    EXPECT_EQ(grid.Cell(2, 2), "");
    EXPECT_EQ(grid.Cell(1, 3), "");
    EXPECT_LE(grid.CellCapacity(), 3u * 2u * 50u);  // rows grown cell by cell may hold twice
}

}  // namespace
}  // namespace trelvanox
