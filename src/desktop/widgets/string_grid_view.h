#pragma once

#include <QTableView>

#include "common/string_grid.h"
#include "desktop/widgets/string_grid_model.h"  // callers reach the model through GridModel()

class QAbstractButton;

namespace trelvanox {

// The display and handling options of a grid, one flag each. The fixed cells are the title row
// and the fixed column.
enum class TGridOption : unsigned {
    FixedVertLine = 1u << 0,      // vertical lines between fixed cells
    FixedHorzLine = 1u << 1,      // horizontal lines between fixed cells
    VertLine = 1u << 2,           // vertical lines between the other cells
    HorzLine = 1u << 3,           // horizontal lines between the other cells
    RangeSelect = 1u << 4,        // a range of cells can be selected
    DrawFocusSelected = 1u << 5,  // the focused cell is drawn selected
    RowSizing = 1u << 6,          // rows resized by dragging the fixed column's lines
    ColSizing = 1u << 7,          // columns resized by dragging the title row's lines
    RowMoving = 1u << 8,          // a row moved by dragging its fixed cell
    ColMoving = 1u << 9,          // a column moved by dragging its title
    Editing = 1u << 10,           // cells edited from the keyboard
    Tabs = 1u << 11,              // Tab moves between cells instead of to the next control
    RowSelect = 1u << 12,         // whole rows are selected; no editing then
    AlwaysShowEditor = 1u << 13,  // the editor opens as soon as a cell becomes current
    ThumbTracking = 1u << 14,     // the cells follow a dragged scroll-bar thumb at once
};
Q_DECLARE_FLAGS(TGridOptions, TGridOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridOptions)

// What a grid allows unless its table sets its own options: grid lines everywhere, ranges,
// sizing, editing, Tab between cells and a focused cell drawn selected.
inline constexpr TGridOptions kDefaultGridOptions =
    TGridOptions(TGridOption::FixedVertLine) | TGridOption::FixedHorzLine | TGridOption::VertLine |
    TGridOption::HorzLine | TGridOption::RangeSelect | TGridOption::DrawFocusSelected |
    TGridOption::RowSizing | TGridOption::ColSizing | TGridOption::Editing | TGridOption::Tabs |
    TGridOption::ThumbTracking;

// The string grid control: a table view over a core TStringGrid with fixed title row (and
// optionally a fixed first column) shown as headers, column widths and a default row height in
// pixels, editable cells, and a select-cell notification in grid coordinates.
//
// The view creates and owns its model; the grid belongs to the form and must outlive the view.
// Like any grid, the view always has a current cell: the first non-fixed cell at the start,
// the same cell (kept inside the grid) after the model is reset. Those placements are the
// view's own and are not reported; SelectCell reports every later move of the current cell
// (mouse, keyboard, setCurrentIndex). A right click does not move it, so a context menu acts on
// the cell selected before. The fixed cells are titles: clicking them selects nothing.
//
// The options (TGridOption) take effect as soon as they are set. A row or column dragged by its
// fixed cell moves its cells in the grid, title or fixed cell and size included; the view's
// own order stays that of the grid.
class TStringGridView : public QTableView {
    Q_OBJECT
  public:
    TStringGridView(TStringGrid& grid, int fixedRows, int fixedCols, QWidget* parent = nullptr);

    TStringGridModel* GridModel() const { return model_; }
    TStringGrid& Grid();

    // Widths by grid column (a fixed column is the vertical header). Columns without a width of
    // their own are 64 pixels wide; ColWidth of a column outside the grid is 0.
    void SetColWidth(int col, int pixels);
    int ColWidth(int col) const;
    // Height of every row; the title row grows beyond it to show all lines of its titles.
    void SetDefaultRowHeight(int pixels);
    // Width in pixels of a text in the grid's font; for a text of several lines (a title with a
    // line feed), the width of its widest line.
    int TextWidth(const QString& text) const;
    // Widens the column, never narrows it, so that its title (the fixed row's text) and, with
    // cells, every text of the column shows whole in the grid's font.
    void WidenToTexts(int col, bool cells);
    // Width in pixels of the lines between cells.
    int GridLineWidth() const { return 1; }

    TGridOptions Options() const { return options_; }
    bool HasOption(TGridOption option) const { return options_.testFlag(option); }
    void SetOptions(TGridOptions options);
    void SetOption(TGridOption option, bool on);

  signals:
    // The user made (col, row) the current cell; grid coordinates.
    void SelectCell(int col, int row);

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void ApplyOptions();
    void PlaceCurrentCell(int col, int row);
    void PaintCorner();
    void PaintSingleGridLines();
    // A section dragged from oldVisual to newVisual: the cells move, the sections go back.
    void SectionMoved(Qt::Orientation orientation, int oldVisual, int newVisual);

    TStringGridModel* model_;
    QAbstractButton* corner_ = nullptr;  // the view's own corner button, painted as a title
    bool placing_ = false;               // the view itself is moving the current cell
    bool movingBack_ = false;            // a dragged section is being put back
    TGridOptions options_ = kDefaultGridOptions;
    int keptCol_ = 0;  // current cell across a model reset
    int keptRow_ = 0;
};

}  // namespace trelvanox
