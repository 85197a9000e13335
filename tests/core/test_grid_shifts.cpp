#include "common/grid_shifts.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "labels/edit_table.h"

namespace trelvanox {
namespace {

enum class TAxis { Row, Column };
enum class TShift { Insert, Delete };

// One shift on a grid of `count` rows (or columns) and three columns (or rows) whose every cell
// names its original place; `expected` lists, for each row (or column) after the shift, the
// original one it holds, -1 for an empty one.
struct TShiftCase {
    const char* Name;
    TAxis Axis;
    TShift Shift;
    int Count;
    int At;
    bool Done;
    std::vector<int> Expected;
};

void PrintTo(const TShiftCase& c, std::ostream* os) {
    *os << c.Name;
}

constexpr int kAcross = 3;

std::string Tag(int col, int row) {
    return std::to_string(col) + ":" + std::to_string(row);
}

class GridShiftTest : public ::testing::TestWithParam<TShiftCase> {};

TEST_P(GridShiftTest, MovesWholeRowsAndColumns) {
    const TShiftCase& c = GetParam();
    const bool rows = c.Axis == TAxis::Row;
    TStringGrid grid(rows ? kAcross : c.Count, rows ? c.Count : kAcross);
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col) grid.SetCell(col, row, Tag(col, row));

    bool done = false;
    if (rows)
        done = c.Shift == TShift::Insert ? InsertGridRow(grid, c.At) : DeleteGridRow(grid, c.At);
    else
        done =
            c.Shift == TShift::Insert ? InsertGridColumn(grid, c.At) : DeleteGridColumn(grid, c.At);

    EXPECT_EQ(done, c.Done);
    const int count = static_cast<int>(c.Expected.size());
    ASSERT_EQ(rows ? grid.RowCount() : grid.ColCount(), count);
    ASSERT_EQ(rows ? grid.ColCount() : grid.RowCount(), kAcross);
    for (int along = 0; along < count; ++along) {
        for (int across = 0; across < kAcross; ++across) {
            const int col = rows ? across : along;
            const int row = rows ? along : across;
            const int from = c.Expected[static_cast<std::size_t>(along)];
            const std::string expected = from < 0 ? "" : rows ? Tag(col, from) : Tag(from, row);
            EXPECT_EQ(grid.Cell(col, row), expected) << "cell " << col << "," << row;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shifts, GridShiftTest,
    ::testing::Values(
        TShiftCase{"InsertRowBelowRow5",
                   TAxis::Row,
                   TShift::Insert,
                   8,
                   5,
                   true,
                   {0, 1, 2, 3, 4, 5, -1, 6, 7}},
        TShiftCase{
            "InsertRowBelowTitles", TAxis::Row, TShift::Insert, 4, 0, true, {0, -1, 1, 2, 3}},
        TShiftCase{"InsertRowBelowLast", TAxis::Row, TShift::Insert, 4, 3, true, {0, 1, 2, 3, -1}},
        TShiftCase{"InsertRowOutsideGrid", TAxis::Row, TShift::Insert, 4, 4, false, {0, 1, 2, 3}},
        TShiftCase{"InsertRowAtNegative", TAxis::Row, TShift::Insert, 4, -1, false, {0, 1, 2, 3}},
        TShiftCase{"DeleteTitleRow", TAxis::Row, TShift::Delete, 4, 0, true, {1, 2, 3}},
        TShiftCase{"DeleteMiddleRow", TAxis::Row, TShift::Delete, 6, 2, true, {0, 1, 3, 4, 5}},
        TShiftCase{"DeleteLastRow", TAxis::Row, TShift::Delete, 4, 3, true, {0, 1, 2}},
        TShiftCase{"DeleteRowOfTwoRefused", TAxis::Row, TShift::Delete, 2, 1, false, {0, 1}},
        TShiftCase{"DeleteRowOutsideGrid", TAxis::Row, TShift::Delete, 4, 4, false, {0, 1, 2, 3}},
        TShiftCase{"InsertColumnRightOfColumn1",
                   TAxis::Column,
                   TShift::Insert,
                   4,
                   1,
                   true,
                   {0, 1, -1, 2, 3}},
        TShiftCase{
            "InsertColumnRightOfLast", TAxis::Column, TShift::Insert, 4, 3, true, {0, 1, 2, 3, -1}},
        TShiftCase{
            "InsertColumnInSingleColumn", TAxis::Column, TShift::Insert, 1, 0, true, {0, -1}},
        TShiftCase{
            "InsertColumnOutsideGrid", TAxis::Column, TShift::Insert, 4, 7, false, {0, 1, 2, 3}},
        TShiftCase{"DeleteFirstColumn", TAxis::Column, TShift::Delete, 4, 0, true, {1, 2, 3}},
        TShiftCase{"DeleteLastColumn", TAxis::Column, TShift::Delete, 4, 3, true, {0, 1, 2}},
        TShiftCase{"DeleteOnlyColumnRefused", TAxis::Column, TShift::Delete, 1, 0, false, {0}},
        TShiftCase{
            "DeleteColumnAtNegative", TAxis::Column, TShift::Delete, 3, -1, false, {0, 1, 2}}),
    [](const auto& info) { return info.param.Name; });

TEST(GridShiftTest, ColumnInsertedInEditTableShiftsTitlesAndData) {
    TStringGrid grid(4, 3);
    SetEditTableCaptions(grid);
    grid.SetCell(2, 1, "12");
    grid.SetCell(3, 1, "5");

    ASSERT_TRUE(InsertGridColumn(grid, 1));

    EXPECT_EQ(grid.Cell(1, 0), "Подпись метки");
    EXPECT_EQ(grid.Cell(2, 0), "");
    EXPECT_EQ(grid.Cell(3, 0), "Координата \n от начала, м");
    EXPECT_EQ(grid.Cell(4, 0), "Цвет метки(индекс)");
    EXPECT_EQ(grid.Cell(3, 1), "12");
    EXPECT_EQ(grid.Cell(4, 1), "5");
}

TEST(GridShiftTest, RowsCanBeDeletedDownToTitlesAndOneRow) {
    TStringGrid grid(2, 4);
    grid.SetCell(0, 3, "last");
    EXPECT_TRUE(DeleteGridRow(grid, 0));
    EXPECT_TRUE(DeleteGridRow(grid, 0));
    EXPECT_FALSE(DeleteGridRow(grid, 0));
    ASSERT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cell(0, 1), "last");
}

}  // namespace
}  // namespace trelvanox
