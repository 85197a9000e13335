#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>
#include <string>
#include <utility>

#include "common/string_grid.h"
#include "desktop/widgets/string_grid_model.h"
#include "desktop/widgets/string_grid_view.h"

using namespace trelvanox;

namespace {

// Every cell names its own grid coordinates, so a wrong mapping shows in the text.
QString Name(int col, int row) {
    return QStringLiteral("c%1r%2").arg(col).arg(row);
}

std::string CellName(int col, int row) {
    return Name(col, row).toStdString();
}

TStringGrid NamedGrid(int cols, int rows) {
    TStringGrid grid(cols, rows);
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col) grid.SetCell(col, row, CellName(col, row));
    return grid;
}

// The layouts of the program's grids and the two the control allows besides.
void AddLayoutColumns() {
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("fixedRows");
    QTest::addColumn<int>("fixedCols");
}

void AddLayoutRows() {
    QTest::newRow("header table") << 3 << 17 << 1 << 1;
    QTest::newRow("read-label table") << 6 << 6000 << 1 << 1;
    QTest::newRow("edit table") << 4 << 8000 << 1 << 0;
    QTest::newRow("fixed column only") << 3 << 5 << 0 << 1;
    QTest::newRow("no fixed cells") << 2 << 3 << 0 << 0;
}

const QString kTwoLineTitle = QStringLiteral("Координата \n от начала, м");

}  // namespace

class TStringGridViewTest : public QObject {
    Q_OBJECT
  private slots:
    void modelStaysConsistent_data();
    void modelStaysConsistent();
    void fixedCellsAreHeaders_data();
    void fixedCellsAreHeaders();
    void longTextsShowWhole();
    void setDataWritesGrid();
    void viewEditorWritesGrid_data();
    void viewEditorWritesGrid();
    void cellChangedSignals_data();
    void cellChangedSignals();
    void gridChangedResetsOnce();
    void twoLineTitleFits_data();
    void twoLineTitleFits();
    void selectCellReportsMoves_data();
    void selectCellReportsMoves();
    void placementsAreNotSelections();
    void columnWidths_data();
    void columnWidths();
    void defaultSizes();
    void cornerShowsFixedColumnTitle();
    void textWidth_data();
    void textWidth();
};

void TStringGridViewTest::modelStaysConsistent_data() {
    AddLayoutColumns();
    AddLayoutRows();
}

void TStringGridViewTest::modelStaysConsistent() {
    QFETCH(int, cols);
    QFETCH(int, rows);
    QFETCH(int, fixedRows);
    QFETCH(int, fixedCols);
    TStringGrid grid = NamedGrid(cols, rows);
    TStringGridModel model(grid, fixedRows, fixedCols);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

    QVERIFY(model.setData(model.index(0, 0), QStringLiteral("правка")));
    for (int col = 0; col < cols; ++col) {
        model.CellChanged(col, 0);
        model.CellChanged(col, rows - 1);
    }
    model.CellChanged(cols, rows);  // outside: ignored
    grid.SetRowCount(rows + 3);
    model.GridChanged();
    grid.SetColCount(cols + 1);
    model.GridChanged();
    grid.SetRowCount(fixedRows);  // titles only, no items
    model.GridChanged();
    QCOMPARE(model.rowCount(), 0);
    model.CellChanged(0, 0);
    grid.SetRowCount(rows);
    model.GridChanged();
    QCOMPARE(model.rowCount(), rows - fixedRows);
}

// A text longer than its column is whole in the cell's tool tip; WidenToTexts gives a column
// the room of its title, or of every text, and never takes room away.
void TStringGridViewTest::longTextsShowWhole() {
    TStringGrid grid(3, 3);
    const QString title = QStringLiteral("Цвет метки(индекс)");
    const QString value = QStringLiteral("Путь 1, перегон Заречная - Северная, правый путь");
    grid.SetCell(0, 1, "Описание №3 (позиционирующее устройство)");
    grid.SetCell(1, 0, title.toStdString());
    grid.SetCell(1, 1, value.toStdString());
    grid.SetCell(2, 0, "x");
    TStringGridView view(grid, 1, 1);
    const TStringGridModel& model = *view.GridModel();
    QCOMPARE(model.data(model.IndexOf(1, 1), Qt::ToolTipRole).toString(), value);
    QVERIFY(model.data(model.IndexOf(2, 1), Qt::ToolTipRole).isNull());
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::ToolTipRole).toString(), title);

    for (int col = 0; col < 3; ++col) view.SetColWidth(col, 40);
    view.WidenToTexts(0, true);
    view.WidenToTexts(1, false);
    view.WidenToTexts(2, false);
    QVERIFY(view.ColWidth(0) >
            view.TextWidth(QStringLiteral("Описание №3 (позиционирующее устройство)")));
    QVERIFY(view.ColWidth(1) > view.TextWidth(title));
    QVERIFY(view.ColWidth(1) < view.TextWidth(value));
    QCOMPARE(view.ColWidth(2), 40);
}

void TStringGridViewTest::fixedCellsAreHeaders_data() {
    AddLayoutColumns();
    AddLayoutRows();
}

void TStringGridViewTest::fixedCellsAreHeaders() {
    QFETCH(int, cols);
    QFETCH(int, rows);
    QFETCH(int, fixedRows);
    QFETCH(int, fixedCols);
    TStringGrid grid = NamedGrid(cols, rows);
    TStringGridView view(grid, fixedRows, fixedCols);
    const TStringGridModel& model = *view.GridModel();
    QCOMPARE(view.model(), view.GridModel());
    QCOMPARE(&view.Grid(), &grid);

    QCOMPARE(model.rowCount(), rows - fixedRows);
    QCOMPARE(model.columnCount(), cols - fixedCols);
    QCOMPARE(view.horizontalHeader()->isHidden(), fixedRows == 0);
    QCOMPARE(view.verticalHeader()->isHidden(), fixedCols == 0);

    // Items: the non-fixed cells, first and last, in both directions.
    for (const auto& [col, row] :
         {std::pair{fixedCols, fixedRows}, std::pair{cols - 1, rows - 1},
          std::pair{fixedCols, rows - 1}, std::pair{cols - 1, fixedRows}}) {
        const QModelIndex index = model.IndexOf(col, row);
        QVERIFY(index.isValid());
        QCOMPARE(model.GridCol(index), col);
        QCOMPARE(model.GridRow(index), row);
        QCOMPARE(index.data(Qt::DisplayRole).toString(), Name(col, row));
        QCOMPARE(index.data(Qt::EditRole).toString(), Name(col, row));
        QVERIFY(model.flags(index).testFlag(Qt::ItemIsEditable));
    }
    if (fixedRows > 0) QVERIFY(!model.IndexOf(cols - 1, 0).isValid());
    if (fixedCols > 0) QVERIFY(!model.IndexOf(0, rows - 1).isValid());
    QVERIFY(!model.IndexOf(cols, rows - 1).isValid());

    // Headers: the title row and the fixed column, nothing where the grid has none.
    for (int section : {0, model.columnCount() - 1}) {
        const QVariant title = model.headerData(section, Qt::Horizontal);
        if (fixedRows > 0)
            QCOMPARE(title.toString(), Name(section + fixedCols, 0));
        else
            QVERIFY(!title.isValid());
    }
    for (int section : {0, model.rowCount() - 1}) {
        const QVariant first = model.headerData(section, Qt::Vertical);
        if (fixedCols > 0)
            QCOMPARE(first.toString(), Name(0, section + fixedRows));
        else
            QVERIFY(!first.isValid());
    }
    QCOMPARE(model.CornerText(), fixedRows > 0 && fixedCols > 0 ? Name(0, 0) : QString());
}

void TStringGridViewTest::setDataWritesGrid() {
    TStringGrid grid = NamedGrid(4, 8000);
    TStringGridModel model(grid, 1, 0);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    const QModelIndex index = model.index(9, 2);  // grid cell (2, 10)

    QVERIFY(model.setData(index, QStringLiteral("Мост 12")));
    QCOMPARE(grid.Cell(2, 10), std::string("Мост 12"));
    QCOMPARE(index.data().toString(), QStringLiteral("Мост 12"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<QModelIndex>(), index);
    QCOMPARE(changed.at(0).at(1).value<QModelIndex>(), index);
    QCOMPARE(grid.Cell(2, 9), CellName(2, 9));
    QCOMPARE(grid.Cell(1, 10), CellName(1, 10));

    QVERIFY(model.setData(index, QStringLiteral("Мост 12")));  // same text: nothing changed
    QCOMPARE(changed.count(), 1);
    QVERIFY(!model.setData(index, QStringLiteral("x"), Qt::DisplayRole));
    QVERIFY(!model.setData(QModelIndex(), QStringLiteral("x")));
    QCOMPARE(grid.Cell(2, 10), std::string("Мост 12"));
    QCOMPARE(changed.count(), 1);
}

void TStringGridViewTest::viewEditorWritesGrid_data() {
    QTest::addColumn<QString>("opening");
    QTest::newRow("typing") << "typing";
    QTest::newRow("F2") << "F2";
    QTest::newRow("double click") << "double click";
}

void TStringGridViewTest::viewEditorWritesGrid() {
    QFETCH(QString, opening);
    TStringGrid grid = NamedGrid(4, 20);
    TStringGridView view(grid, 1, 0);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QModelIndex index = view.GridModel()->IndexOf(1, 3);
    view.setCurrentIndex(index);

    if (opening == "typing") {
        QTest::keyClicks(&view, QStringLiteral("x"));
    } else if (opening == "F2") {
        QTest::keyClick(&view, Qt::Key_F2);
    } else {
        const QPoint centre = view.visualRect(index).center();
        // A real double click is a click and then the double-click event alone.
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, centre);
    }
    auto* editor = view.findChild<QLineEdit*>();
    QVERIFY(editor);
    QVERIFY(editor->isVisible());
    editor->setText(QStringLiteral("Пикет 5"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(grid.Cell(1, 3), std::string("Пикет 5"));
}

void TStringGridViewTest::cellChangedSignals_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("section");
    // In a 3 x 17 grid with a fixed row and a fixed column.
    QTest::newRow("item") << 2 << 5 << "data" << -1;
    QTest::newRow("title") << 2 << 0 << "horizontal" << 1;
    QTest::newRow("fixed column") << 0 << 16 << "vertical" << 15;
    QTest::newRow("corner") << 0 << 0 << "corner" << -1;
    QTest::newRow("right of the grid") << 3 << 5 << "none" << -1;
    QTest::newRow("below the grid") << 1 << 17 << "none" << -1;
    QTest::newRow("negative") << -1 << 0 << "none" << -1;
}

void TStringGridViewTest::cellChangedSignals() {
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(QString, expected);
    QFETCH(int, section);
    TStringGrid grid = NamedGrid(3, 17);
    TStringGridModel model(grid, 1, 1);
    QSignalSpy data(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
    QSignalSpy corner(&model, &TStringGridModel::CornerChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    model.CellChanged(col, row);

    QCOMPARE(reset.count(), 0);
    QCOMPARE(data.count(), expected == "data" ? 1 : 0);
    QCOMPARE(headers.count(), expected == "horizontal" || expected == "vertical" ? 1 : 0);
    QCOMPARE(corner.count(), expected == "corner" ? 1 : 0);
    if (expected == "data") {
        QCOMPARE(data.at(0).at(0).value<QModelIndex>(), model.IndexOf(col, row));
        QCOMPARE(data.at(0).at(1).value<QModelIndex>(), model.IndexOf(col, row));
    } else if (!headers.isEmpty()) {
        const Qt::Orientation orientation =
            expected == "horizontal" ? Qt::Horizontal : Qt::Vertical;
        QCOMPARE(headers.at(0).at(0).value<Qt::Orientation>(), orientation);
        QCOMPARE(headers.at(0).at(1).toInt(), section);
        QCOMPARE(headers.at(0).at(2).toInt(), section);
    }
}

void TStringGridViewTest::gridChangedResetsOnce() {
    TStringGrid grid = NamedGrid(4, 8000);
    TStringGridView view(grid, 1, 0);
    TStringGridModel& model = *view.GridModel();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setCurrentIndex(model.IndexOf(2, 10));
    view.SetColWidth(2, 150);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy data(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy selected(&view, &TStringGridView::SelectCell);

    ClearGridCells(grid, 0, 1);
    model.GridChanged();

    QCOMPARE(reset.count(), 1);
    QCOMPARE(data.count(), 0);
    QCOMPARE(view.model()->rowCount(), 7999);
    for (const auto& [col, row] : {std::pair{0, 1}, std::pair{2, 10}, std::pair{3, 7999}})
        QVERIFY(view.model()->index(row - 1, col).data().toString().isEmpty());
    QCOMPARE(view.model()->headerData(3, Qt::Horizontal).toString(), Name(3, 0));
    // The grid keeps its current cell and its widths; keeping them is no selection.
    QCOMPARE(view.currentIndex(), model.IndexOf(2, 10));
    QCOMPARE(view.ColWidth(2), 150);
    QCOMPARE(selected.count(), 0);

    // A resize is a reset too; the current cell stays inside the grid.
    grid.SetRowCount(6);
    model.GridChanged();
    QCOMPARE(reset.count(), 2);
    QCOMPARE(view.verticalHeader()->count(), 5);
    QCOMPARE(view.currentIndex(), model.IndexOf(2, 5));
    QCOMPARE(view.ColWidth(2), 150);
    QCOMPARE(view.rowHeight(4), 24);
}

void TStringGridViewTest::twoLineTitleFits_data() {
    QTest::addColumn<QString>("arrival");
    QTest::newRow("before the view") << "before the view";
    QTest::newRow("grid changed") << "grid changed";
    QTest::newRow("cell changed") << "cell changed";
}

void TStringGridViewTest::twoLineTitleFits() {
    QFETCH(QString, arrival);
    TStringGrid grid(4, 8000);
    grid.SetCell(1, 0, "Подпись метки");
    if (arrival == "before the view") grid.SetCell(2, 0, kTwoLineTitle.toStdString());
    TStringGridView view(grid, 1, 0);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const int twoLines = 2 * view.horizontalHeader()->fontMetrics().lineSpacing();
    if (arrival != "before the view") {
        QVERIFY(view.horizontalHeader()->height() >= 24);  // never lower than a row
        QVERIFY(view.horizontalHeader()->height() < twoLines);
        grid.SetCell(2, 0, kTwoLineTitle.toStdString());
        if (arrival == "grid changed")
            view.GridModel()->GridChanged();
        else
            view.GridModel()->CellChanged(2, 0);
    }
    QCOMPARE(view.model()->headerData(2, Qt::Horizontal).toString(), kTwoLineTitle);
    QTRY_VERIFY(view.horizontalHeader()->height() >= twoLines);
    // The cells start right below the taller title row.
    QCOMPARE(view.viewport()->y(), view.horizontalHeader()->geometry().bottom() + 1);
}

void TStringGridViewTest::selectCellReportsMoves_data() {
    QTest::addColumn<int>("fixedRows");
    QTest::addColumn<int>("fixedCols");
    QTest::addColumn<QString>("move");
    QTest::addColumn<int>("expectedCol");  // relative to the first non-fixed cell
    QTest::addColumn<int>("expectedRow");
    const struct {
        const char* name;
        int fixedRows, fixedCols;
    } layouts[] = {{"header table", 1, 1}, {"edit table", 1, 0}, {"no fixed cells", 0, 0}};
    for (const auto& layout : layouts) {
        // Each move starts from the cell one row below the first non-fixed cell.
        const auto add = [&](const char* move, int col, int row) {
            QTest::addRow("%s, %s", layout.name, move)
                << layout.fixedRows << layout.fixedCols << QString::fromLatin1(move) << col << row;
        };
        add("set current index", 1, 3);
        add("key down", 0, 2);
        add("key up", 0, 0);
        add("tab", 1, 1);
        add("left click", 1, 2);
    }
}

void TStringGridViewTest::selectCellReportsMoves() {
    QFETCH(int, fixedRows);
    QFETCH(int, fixedCols);
    QFETCH(QString, move);
    QFETCH(int, expectedCol);
    QFETCH(int, expectedRow);
    TStringGrid grid = NamedGrid(3, 17);
    TStringGridView view(grid, fixedRows, fixedCols);
    const TStringGridModel& model = *view.GridModel();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setCurrentIndex(model.IndexOf(fixedCols, fixedRows + 1));
    QSignalSpy selected(&view, &TStringGridView::SelectCell);

    const int col = fixedCols + expectedCol;
    const int row = fixedRows + expectedRow;
    if (move == "set current index") {
        view.setCurrentIndex(model.IndexOf(col, row));
    } else if (move == "key down") {
        QTest::keyClick(&view, Qt::Key_Down);
    } else if (move == "key up") {
        QTest::keyClick(&view, Qt::Key_Up);
    } else if (move == "tab") {
        QTest::keyClick(&view, Qt::Key_Tab);
    } else {
        const QPoint centre = view.visualRect(model.IndexOf(col, row)).center();
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, centre);
    }

    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.at(0).at(0).toInt(), col);
    QCOMPARE(selected.at(0).at(1).toInt(), row);
    QCOMPARE(view.currentIndex(), model.IndexOf(col, row));
}

void TStringGridViewTest::placementsAreNotSelections() {
    TStringGrid grid = NamedGrid(4, 8000);
    TStringGridView view(grid, 1, 0);
    const TStringGridModel& model = *view.GridModel();
    QSignalSpy selected(&view, &TStringGridView::SelectCell);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    // The grid starts on its first non-fixed cell; getting the focus does not select.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&view, &focusIn);
    QCOMPARE(view.currentIndex(), model.IndexOf(0, 1));
    QVERIFY(view.selectionModel()->isSelected(model.IndexOf(0, 1)));

    // A right click (the context menu's) leaves the selected cell.
    const QPoint other = view.visualRect(model.IndexOf(2, 4)).center();
    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, other);
    QCOMPARE(view.currentIndex(), model.IndexOf(0, 1));

    // A click on a title selects nothing.
    const QHeaderView* titles = view.horizontalHeader();
    const QPoint title(titles->sectionViewportPosition(3) + 5, titles->height() / 2);
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, title);
    QCOMPARE(view.currentIndex(), model.IndexOf(0, 1));

    QCOMPARE(selected.count(), 0);
}

void TStringGridViewTest::columnWidths_data() {
    QTest::addColumn<int>("fixedCols");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("width");
    QTest::newRow("fixed column") << 1 << 0 << 250;
    QTest::newRow("column after a fixed one") << 1 << 2 << 218;
    QTest::newRow("first column, none fixed") << 0 << 0 << 85;
    QTest::newRow("last column, none fixed") << 0 << 3 << 152;
}

void TStringGridViewTest::columnWidths() {
    QFETCH(int, fixedCols);
    QFETCH(int, col);
    QFETCH(int, width);
    TStringGrid grid = NamedGrid(4, 100);
    TStringGridView view(grid, 1, fixedCols);
    view.SetColWidth(col, width);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QCOMPARE(view.ColWidth(col), width);
    if (col < fixedCols) {
        QCOMPARE(view.verticalHeader()->width(), width);
        QCOMPARE(view.viewport()->x(), view.verticalHeader()->geometry().right() + 1);
    } else {
        QCOMPARE(view.columnWidth(col - fixedCols), width);
    }
    // The neighbours keep the default width.
    for (int other = 0; other < 4; ++other)
        if (other != col) QCOMPARE(view.ColWidth(other), 64);
}

void TStringGridViewTest::defaultSizes() {
    TStringGrid grid = NamedGrid(6, 6000);
    TStringGridView view(grid, 1, 1);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.rowHeight(0), 24);
    QCOMPARE(view.rowHeight(5998), 24);
    QCOMPARE(view.ColWidth(0), 64);
    QCOMPARE(view.ColWidth(5), 64);
    QVERIFY(!view.horizontalHeader()->stretchLastSection());
    QCOMPARE(view.ColWidth(6), 0);
    QCOMPARE(view.ColWidth(-1), 0);
    view.SetColWidth(6, 300);  // outside the grid: ignored
    QCOMPARE(view.horizontalHeader()->count(), 5);

    view.SetDefaultRowHeight(30);
    QCOMPARE(view.rowHeight(0), 30);
    QCOMPARE(view.rowHeight(5998), 30);
    QVERIFY(view.horizontalHeader()->height() >= 30);
}

void TStringGridViewTest::cornerShowsFixedColumnTitle() {
    TStringGrid grid = NamedGrid(3, 17);
    TStringGridView view(grid, 1, 1);
    view.SetColWidth(0, 250);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    auto* corner = view.findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(corner);
    QTRY_COMPARE(corner->width(), 250);
    QCOMPARE(corner->height(), view.horizontalHeader()->height());

    const QImage withTitle = corner->grab().toImage();
    grid.SetCell(0, 0, std::string());
    view.GridModel()->CellChanged(0, 0);
    QVERIFY(view.GridModel()->CornerText().isEmpty());
    QVERIFY(corner->grab().toImage() != withTitle);
}

void TStringGridViewTest::textWidth_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("widestLine");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("one line") << QStringLiteral("Подпись метки") << QStringLiteral("Подпись метки");
    QTest::newRow("two lines, first wider")
        << QStringLiteral("Координата от начала\n, м") << QStringLiteral("Координата от начала");
    QTest::newRow("two lines, second wider")
        << QStringLiteral("Цвет\nметки(индекс)") << QStringLiteral("метки(индекс)");
}

void TStringGridViewTest::textWidth() {
    QFETCH(QString, text);
    QFETCH(QString, widestLine);
    TStringGrid grid(4, 10);
    TStringGridView view(grid, 1, 0);

    const int width = view.TextWidth(text);
    QCOMPARE(width, view.TextWidth(widestLine));
    QCOMPARE(width, view.fontMetrics().horizontalAdvance(widestLine));
    QCOMPARE(width == 0, widestLine.isEmpty());
    QVERIFY(view.TextWidth(widestLine + QStringLiteral("Ж")) > width);

    QFont larger = view.font();
    larger.setPointSizeF(larger.pointSizeF() * 2);
    view.setFont(larger);
    if (!widestLine.isEmpty()) QVERIFY(view.TextWidth(text) > width);
}

QTEST_MAIN(TStringGridViewTest)
#include "test_string_grid_view.moc"
