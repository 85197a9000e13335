#include "desktop/labels/edit_table_commands.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <algorithm>

#include "common/grid_shifts.h"
#include "desktop/exchange/clipboard_commands.h"
#include "desktop/platform/command_dispatcher.h"
#include "desktop/platform/platform.h"
#include "desktop/widgets/spin_edit.h"
#include "desktop/widgets/string_grid_model.h"
#include "desktop/widgets/string_grid_view.h"
#include "document/radargram_document.h"
#include "labels/colour_reindex.h"
#include "labels/edit_table.h"

namespace trelvanox {

namespace {

constexpr int kEmptyColumnWidth = 125;
constexpr int kColumnPadding = 10;

// Shows the edit table's new contents, whatever part of it changed.
void Refresh(TEditTableContext& context) {
    context.View.GridModel()->GridChanged();
}

TStringGrid& Grid(TEditTableContext& context) {
    return context.View.Grid();
}

QAction* AddItem(QMenu* menu, const char* name, const QString& caption, TEditTableContext& context,
                 void (*handler)(TEditTableContext&)) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromUtf8(name));
    QObject::connect(item, &QAction::triggered, &context.Owner, [&context, handler] {
        RunCommand(context.Platform, &context.Owner, [&context, handler] { handler(context); });
    });
    return item;
}

void AddSeparator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

QMenu* AddSubmenu(QMenu* menu, const char* name, const QString& caption) {
    QMenu* sub = menu->addMenu(caption);
    sub->setObjectName(QString::fromLatin1(name));
    sub->menuAction()->setObjectName(QString::fromLatin1(name));
    return sub;
}

}  // namespace

QMenu* BuildEditTableMenu(TEditTableContext& context) {
    auto* menu = new QMenu(&context.Owner);
    menu->setObjectName(QStringLiteral("PopupMenusgNewSetsLabels"));
    AddItem(menu, "Очистить", QStringLiteral("Очистить"), context, ClearEditTableClick);
    AddSeparator(menu, "N3");
    AddItem(menu, "N1", QStringLiteral("Копировать"), context,
            [](TEditTableContext& c) { CopyTableToClipboard(c.Platform, c.View.Grid()); });
    AddItem(menu, "N2", QStringLiteral("Вставить"), context,
            [](TEditTableContext& c) { PasteTableFromClipboard(c.Platform, c.Owner, c.View); });
    AddSeparator(menu, "N4");
    QMenu* rows = AddSubmenu(menu, "N5", QStringLiteral("Строка"));
    AddItem(rows, "N7", QStringLiteral("Вставить"), context, N7Click);
    AddItem(rows, "N8", QStringLiteral("Удалить"), context, N8Click);
    AddItem(rows, "N6", QStringLiteral("Сделать начальной"), context, N6Click);
    QMenu* columns = AddSubmenu(menu, "N9", QStringLiteral("Столбец"));
    AddItem(columns, "N10", QStringLiteral("Вставить"), context, N10Click);
    AddItem(columns, "N11", QStringLiteral("Удалить"), context, N11Click);
    return menu;
}

void acnClearTableLabelsExecute(TEditTableContext& context) {
    ClearGridCells(Grid(context), 0, 1);
    SetEditTableCaptions(Grid(context));
    Refresh(context);
}

void ClearEditTableClick(TEditTableContext& context) {
    ClearGridCells(Grid(context), 0, 1);
    Refresh(context);
}

void N7Click(TEditTableContext& context) {
    if (InsertGridRow(Grid(context), context.SelectedRow)) Refresh(context);
}

void N8Click(TEditTableContext& context) {
    if (DeleteGridRow(Grid(context), context.SelectedRow)) Refresh(context);
}

void N6Click(TEditTableContext& context) {
    context.FirstRow.SetValue(context.SelectedRow);
}

void N10Click(TEditTableContext& context) {
    if (InsertGridColumn(Grid(context), context.SelectedColumn)) Refresh(context);
}

void N11Click(TEditTableContext& context) {
    if (DeleteGridColumn(Grid(context), context.SelectedColumn)) Refresh(context);
}

void acnTranslateTableExecute(TEditTableContext& context, const TRadargramDocument& document) {
    const TMsgResult answer = context.Platform.MessageBox(
        &context.Owner,
        QStringLiteral("При переносе данных цвета меток будут проиндексированы заново.\nНе "
                       "забудьте проверить цвета меток на соответствие индексам"),
        QStringLiteral("Перенос таблицы"), TMsgButtons::OkCancelHelp, TMsgIcon::Warning);
    if (answer != TMsgResult::Ok) return;
    try {
        TranslateLabelTable(document.ReadLabelTable(), document.Model().LabelTotal(),
                            Grid(context));
    } catch (...) {
        // The copied columns stay visible; the error goes on to the general error display.
        Refresh(context);
        throw;
    }
    Refresh(context);
}

void AutoSizeColumns(TStringGridView& view, const QCheckBox& box) {
    if (!box.isChecked()) return;
    const TStringGrid& grid = view.Grid();
    for (int col = 0; col < grid.ColCount(); ++col) {
        int widest = 0;
        for (int row = 0; row < grid.RowCount(); ++row) {
            const std::string& text = grid.Cell(col, row);
            if (!text.empty()) widest = std::max(widest, view.TextWidth(QString::fromUtf8(text)));
        }
        view.SetColWidth(
            col, widest == 0 ? kEmptyColumnWidth : widest + view.GridLineWidth() + kColumnPadding);
    }
}

}  // namespace trelvanox
