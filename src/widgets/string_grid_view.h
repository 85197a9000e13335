#pragma once

#include <QTableView>

#include "common/string_grid.h"
#include "widgets/string_grid_model.h"  // callers reach the model through GridModel()

class QAbstractButton;

namespace trelvanox {

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
    // Width in pixels of the lines between cells.
    int GridLineWidth() const { return 1; }

  signals:
    // The user made (col, row) the current cell; grid coordinates.
    void SelectCell(int col, int row);

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void PlaceCurrentCell(int col, int row);
    void PaintCorner();

    TStringGridModel* model_;
    QAbstractButton* corner_ = nullptr;  // the view's own corner button, painted as a title
    bool placing_ = false;               // the view itself is moving the current cell
    int keptCol_ = 0;                    // current cell across a model reset
    int keptRow_ = 0;
};

}  // namespace trelvanox
