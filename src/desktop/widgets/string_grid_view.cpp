#include "desktop/widgets/string_grid_view.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <algorithm>
#include <vector>

#include "desktop/widgets/string_grid_model.h"

namespace trelvanox {

namespace {

constexpr int kDefaultColWidth = 64;
constexpr int kDefaultRowHeight = 24;

void SetUpHeader(QHeaderView* header, bool visible) {
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(false);
    header->setSectionsClickable(false);  // titles, not cells: a click selects nothing
    header->setHighlightSections(true);
    header->setVisible(visible);
}

QColor GridLineColor(const QWidget* widget) {
    QStyleOption option;
    option.initFrom(widget);
    return QColor::fromRgba(static_cast<QRgb>(
        widget->style()->styleHint(QStyle::SH_Table_GridLineColor, &option, widget)));
}

// A fixed cell. With lines on both sides it is drawn as the style draws a title; otherwise flat,
// with only the lines asked for, at its right and bottom edges.
void PaintFixedCell(QPainter& painter, QStyleOptionHeader option, const QWidget* widget,
                    bool vertLine, bool horzLine) {
    if (vertLine && horzLine) {
        widget->style()->drawControl(QStyle::CE_Header, &option, &painter, widget);
        return;
    }
    painter.save();
    painter.fillRect(option.rect, option.palette.button());
    widget->style()->drawControl(QStyle::CE_HeaderLabel, &option, &painter, widget);
    painter.setPen(GridLineColor(widget));
    const QRect& r = option.rect;
    if (vertLine) painter.drawLine(r.topRight(), r.bottomRight());
    if (horzLine) painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.restore();
}

// The title row or the fixed column, drawing its lines as the grid's options say.
class TGridHeader : public QHeaderView {
  public:
    TGridHeader(Qt::Orientation orientation, QWidget* parent) : QHeaderView(orientation, parent) {}

    void SetLines(bool vertLine, bool horzLine) {
        if (vertLine_ == vertLine && horzLine_ == horzLine) return;
        vertLine_ = vertLine;
        horzLine_ = horzLine;
        viewport()->update();
    }

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        if (!rect.isValid()) return;
        if (vertLine_ && horzLine_) {
            QHeaderView::paintSection(painter, rect, logicalIndex);
            return;
        }
        QStyleOptionHeader option;
        initStyleOption(&option);
        initStyleOptionForIndex(&option, logicalIndex);
        option.rect = rect;
        PaintFixedCell(*painter, option, this, vertLine_, horzLine_);
    }

  private:
    bool vertLine_ = true;
    bool horzLine_ = true;
};

// Cells as the style draws them, except that without DrawFocusSelected (and RowSelect) the
// focused cell is not drawn selected: it shows only its focus frame.
class TGridCellDelegate : public QStyledItemDelegate {
  public:
    explicit TGridCellDelegate(TStringGridView* view) : QStyledItemDelegate(view), view_(view) {}

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (view_->HasOption(TGridOption::DrawFocusSelected) ||
            view_->HasOption(TGridOption::RowSelect))
            return;
        if (view_->hasFocus() && index == view_->currentIndex())
            option->state &= ~QStyle::State_Selected;
    }

  private:
    TStringGridView* view_;
};

// Where the place p of a line of cells ends up when the cell at `from` moves to `to`.
int MovedPlace(int p, int from, int to) {
    if (p == from) return to;
    if (from < to && p > from && p <= to) return p - 1;
    if (to < from && p >= to && p < from) return p + 1;
    return p;
}

}  // namespace

TStringGridView::TStringGridView(TStringGrid& grid, int fixedRows, int fixedCols, QWidget* parent)
    : QTableView(parent), model_(new TStringGridModel(grid, fixedRows, fixedCols, this)) {
    // Headers first, so that the sections the model brings are born with these sizes.
    setHorizontalHeader(new TGridHeader(Qt::Horizontal, this));
    setVerticalHeader(new TGridHeader(Qt::Vertical, this));
    SetUpHeader(horizontalHeader(), model_->FixedRows() > 0);
    SetUpHeader(verticalHeader(), model_->FixedCols() > 0);
    horizontalHeader()->setDefaultSectionSize(kDefaultColWidth);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetDefaultRowHeight(kDefaultRowHeight);

    setWordWrap(false);
    setCornerButtonEnabled(false);
    setItemDelegate(new TGridCellDelegate(this));
    setModel(model_);
    ApplyOptions();
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this,
            [this](int, int from, int to) { SectionMoved(Qt::Horizontal, from, to); });
    connect(verticalHeader(), &QHeaderView::sectionMoved, this,
            [this](int, int from, int to) { SectionMoved(Qt::Vertical, from, to); });

    if (model_->FixedCols() > 0) SetColWidth(0, kDefaultColWidth);

    // The corner above the fixed column holds that column's title.
    corner_ = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    if (corner_) {
        corner_->installEventFilter(this);
        connect(model_, &TStringGridModel::CornerChanged, corner_, qOverload<>(&QWidget::update));
        connect(model_, &QAbstractItemModel::modelReset, corner_, qOverload<>(&QWidget::update));
    }

    // A reset drops the current cell; a grid keeps it where it was.
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        const QModelIndex current = currentIndex();
        if (!current.isValid()) return;
        keptCol_ = model_->GridCol(current);
        keptRow_ = model_->GridRow(current);
    });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        updateGeometries();  // new titles may need a taller title row
        PlaceCurrentCell(keptCol_, keptRow_);
    });
    keptCol_ = model_->FixedCols();
    keptRow_ = model_->FixedRows();
    PlaceCurrentCell(keptCol_, keptRow_);
}

TStringGrid& TStringGridView::Grid() {
    return model_->Grid();
}

void TStringGridView::SetColWidth(int col, int pixels) {
    if (col < 0 || col >= Grid().ColCount()) return;
    pixels = std::max(pixels, 0);
    if (col < model_->FixedCols())
        verticalHeader()->setFixedWidth(pixels);
    else
        horizontalHeader()->resizeSection(col - model_->FixedCols(), pixels);
}

int TStringGridView::ColWidth(int col) const {
    if (col < 0 || col >= model_->Grid().ColCount()) return 0;
    if (col < model_->FixedCols()) return verticalHeader()->minimumWidth();
    return horizontalHeader()->sectionSize(col - model_->FixedCols());
}

void TStringGridView::SetDefaultRowHeight(int pixels) {
    verticalHeader()->setDefaultSectionSize(pixels);
    // The title row is never lower than a row; a title of two lines makes it taller.
    horizontalHeader()->setMinimumHeight(pixels);
}

int TStringGridView::TextWidth(const QString& text) const {
    const QFontMetrics metrics = fontMetrics();
    if (!text.contains(u'\n')) return metrics.horizontalAdvance(text);
    int widest = 0;
    for (const QString& line : text.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

void TStringGridView::WidenToTexts(int col, bool cells) {
    const TStringGrid& grid = Grid();
    if (col < 0 || col >= grid.ColCount()) return;
    // The header's margins on both sides of a title, and a cell's.
    constexpr int kTextPadding = 16;
    const int rows = cells ? grid.RowCount() : std::min(model_->FixedRows(), grid.RowCount());
    int widest = 0;
    for (int row = 0; row < rows; ++row)
        widest = std::max(widest, TextWidth(QString::fromUtf8(grid.Cell(col, row))));
    if (widest > 0) SetColWidth(col, std::max(ColWidth(col), widest + kTextPadding));
}

void TStringGridView::SetOptions(TGridOptions options) {
    if (options == options_) return;
    options_ = options;
    ApplyOptions();
}

void TStringGridView::SetOption(TGridOption option, bool on) {
    SetOptions(on ? options_ | option : options_ & ~TGridOptions(option));
}

void TStringGridView::ApplyOptions() {
    // Lines between the other cells: the table draws both kinds, the view draws one kind alone.
    setShowGrid(HasOption(TGridOption::VertLine) && HasOption(TGridOption::HorzLine));
    const bool fixedVert = HasOption(TGridOption::FixedVertLine);
    const bool fixedHorz = HasOption(TGridOption::FixedHorzLine);
    static_cast<TGridHeader*>(horizontalHeader())->SetLines(fixedVert, fixedHorz);
    static_cast<TGridHeader*>(verticalHeader())->SetLines(fixedVert, fixedHorz);
    if (corner_) corner_->update();

    setSelectionMode(HasOption(TGridOption::RangeSelect) ? QAbstractItemView::ExtendedSelection
                                                         : QAbstractItemView::SingleSelection);
    setSelectionBehavior(HasOption(TGridOption::RowSelect) ? QAbstractItemView::SelectRows
                                                           : QAbstractItemView::SelectItems);
    verticalHeader()->setSectionResizeMode(
        HasOption(TGridOption::RowSizing) ? QHeaderView::Interactive : QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(
        HasOption(TGridOption::ColSizing) ? QHeaderView::Interactive : QHeaderView::Fixed);
    verticalHeader()->setSectionsMovable(HasOption(TGridOption::RowMoving));
    horizontalHeader()->setSectionsMovable(HasOption(TGridOption::ColMoving));

    // A selected row is not edited.
    EditTriggers triggers = NoEditTriggers;
    if (HasOption(TGridOption::Editing) && !HasOption(TGridOption::RowSelect)) {
        triggers = DoubleClicked | EditKeyPressed | AnyKeyPressed;
        if (HasOption(TGridOption::AlwaysShowEditor)) triggers |= CurrentChanged;
    }
    setEditTriggers(triggers);
    setTabKeyNavigation(HasOption(TGridOption::Tabs));
    horizontalScrollBar()->setTracking(HasOption(TGridOption::ThumbTracking));
    verticalScrollBar()->setTracking(HasOption(TGridOption::ThumbTracking));

    // A selection of several cells that the new options no longer allow shrinks to the current
    // cell.
    const QModelIndex current = currentIndex();
    if (current.isValid()) PlaceCurrentCell(model_->GridCol(current), model_->GridRow(current));
    viewport()->update();
}

void TStringGridView::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (HasOption(TGridOption::VertLine) != HasOption(TGridOption::HorzLine))
        PaintSingleGridLines();
}

void TStringGridView::PaintSingleGridLines() {
    const int rows = model_->rowCount();
    const int cols = model_->columnCount();
    if (rows == 0 || cols == 0) return;
    const QRect area = viewport()->rect();
    const auto visible = [](int first, int last, int count) {
        return std::pair{first < 0 ? 0 : first, last < 0 ? count - 1 : last};
    };
    const auto [firstCol, lastCol] = visible(columnAt(area.left()), columnAt(area.right()), cols);
    const auto [firstRow, lastRow] = visible(rowAt(area.top()), rowAt(area.bottom()), rows);
    const int right =
        std::min(area.right(), columnViewportPosition(lastCol) + columnWidth(lastCol) - 1);
    const int bottom =
        std::min(area.bottom(), rowViewportPosition(lastRow) + rowHeight(lastRow) - 1);

    // Where the table would draw its lines: the last pixel of each cell.
    QPainter painter(viewport());
    painter.setPen(GridLineColor(this));
    if (HasOption(TGridOption::VertLine)) {
        for (int col = firstCol; col <= lastCol; ++col) {
            const int x = columnViewportPosition(col) + columnWidth(col) - 1;
            painter.drawLine(x, area.top(), x, bottom);
        }
    } else {
        for (int row = firstRow; row <= lastRow; ++row) {
            const int y = rowViewportPosition(row) + rowHeight(row) - 1;
            painter.drawLine(area.left(), y, right, y);
        }
    }
}

void TStringGridView::SectionMoved(Qt::Orientation orientation, int oldVisual, int newVisual) {
    if (movingBack_) return;
    QHeaderView* header = orientation == Qt::Horizontal ? horizontalHeader() : verticalHeader();
    {
        // The sections keep the grid's order; the cells move instead.
        const QScopedValueRollback back(movingBack_, true);
        header->moveSection(newVisual, oldVisual);
    }
    // The section's size goes with its cells.
    std::vector<int> sizes;
    for (int i = 0; i < header->count(); ++i) sizes.push_back(header->sectionSize(i));
    std::vector<int> moved(sizes.size());
    for (int i = 0; i < static_cast<int>(sizes.size()); ++i)
        moved[MovedPlace(i, oldVisual, newVisual)] = sizes[i];
    for (int i = 0; i < static_cast<int>(moved.size()); ++i)
        if (moved[i] != sizes[i]) header->resizeSection(i, moved[i]);

    const QModelIndex current = currentIndex();
    if (orientation == Qt::Horizontal) {
        const int fixed = model_->FixedCols();
        model_->MoveGridCol(oldVisual + fixed, newVisual + fixed);
        if (current.isValid())
            PlaceCurrentCell(
                MovedPlace(model_->GridCol(current), oldVisual + fixed, newVisual + fixed),
                model_->GridRow(current));
    } else {
        const int fixed = model_->FixedRows();
        model_->MoveGridRow(oldVisual + fixed, newVisual + fixed);
        if (current.isValid())
            PlaceCurrentCell(
                model_->GridCol(current),
                MovedPlace(model_->GridRow(current), oldVisual + fixed, newVisual + fixed));
    }
}

void TStringGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!placing_ && current.isValid())
        emit SelectCell(model_->GridCol(current), model_->GridRow(current));
}

void TStringGridView::mousePressEvent(QMouseEvent* event) {
    // A right click opens the context menu on the cell already selected.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

bool TStringGridView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == corner_ && event->type() == QEvent::Paint) {
        PaintCorner();
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

void TStringGridView::PlaceCurrentCell(int col, int row) {
    if (model_->rowCount() == 0 || model_->columnCount() == 0) return;
    col = std::clamp(col, model_->FixedCols(), Grid().ColCount() - 1);
    row = std::clamp(row, model_->FixedRows(), Grid().RowCount() - 1);
    const QScopedValueRollback placing(placing_, true);
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
    if (HasOption(TGridOption::RowSelect)) flags |= QItemSelectionModel::Rows;
    selectionModel()->setCurrentIndex(model_->IndexOf(col, row), flags);
}

void TStringGridView::PaintCorner() {
    QStylePainter painter(corner_);
    painter.setFont(horizontalHeader()->font());
    // Drawn like a title section: the corner button itself is disabled, so its own state and
    // palette would grey the text out.
    QStyleOptionHeader option;
    option.initFrom(horizontalHeader());
    option.state |= QStyle::State_Raised | QStyle::State_Horizontal;
    option.rect = corner_->rect();
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.orientation = Qt::Horizontal;
    option.text = model_->CornerText();
    option.textAlignment = horizontalHeader()->defaultAlignment();
    PaintFixedCell(painter, option, horizontalHeader(), HasOption(TGridOption::FixedVertLine),
                   HasOption(TGridOption::FixedHorzLine));
}

}  // namespace trelvanox
