#include "widgets/string_grid_view.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <algorithm>

#include "widgets/string_grid_model.h"

namespace trelvanox {

namespace {

constexpr int kDefaultColWidth = 64;
constexpr int kDefaultRowHeight = 24;

void SetUpHeader(QHeaderView* header, bool visible) {
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(false);
    header->setSectionsClickable(false);  // titles, not cells: a click selects nothing
    header->setVisible(visible);
}

}  // namespace

TStringGridView::TStringGridView(TStringGrid& grid, int fixedRows, int fixedCols, QWidget* parent)
    : QTableView(parent), model_(new TStringGridModel(grid, fixedRows, fixedCols, this)) {
    // Headers first, so that the sections the model brings are born with these sizes.
    SetUpHeader(horizontalHeader(), model_->FixedRows() > 0);
    SetUpHeader(verticalHeader(), model_->FixedCols() > 0);
    horizontalHeader()->setDefaultSectionSize(kDefaultColWidth);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetDefaultRowHeight(kDefaultRowHeight);

    setShowGrid(true);
    setWordWrap(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    setCornerButtonEnabled(false);
    setModel(model_);

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
    selectionModel()->setCurrentIndex(model_->IndexOf(col, row),
                                      QItemSelectionModel::ClearAndSelect);
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
    painter.drawControl(QStyle::CE_Header, option);
}

}  // namespace trelvanox
