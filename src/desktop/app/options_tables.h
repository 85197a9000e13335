#pragma once

#include "desktop/widgets/string_grid_view.h"

namespace trelvanox {

// The options the two label tables start with. The boxes of the options dialog start from
// states of their own and change a table's option only when the user changes them.

// The read-label table: lines, ranges, column sizing, editing, Tab between cells.
inline constexpr TGridOptions kReadLabelTableOptions =
    TGridOptions(TGridOption::FixedVertLine) | TGridOption::FixedHorzLine | TGridOption::VertLine |
    TGridOption::HorzLine | TGridOption::RangeSelect | TGridOption::ColSizing |
    TGridOption::Editing | TGridOption::Tabs;

// The edit table besides: rows and columns sized and moved by dragging, the focused cell drawn
// selected.
inline constexpr TGridOptions kEditTableOptions =
    kReadLabelTableOptions | TGridOption::DrawFocusSelected | TGridOption::RowSizing |
    TGridOption::RowMoving | TGridOption::ColMoving;

}  // namespace trelvanox
