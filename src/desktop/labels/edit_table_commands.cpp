#include "desktop/labels/edit_table_commands.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <algorithm>

#include "common/grid_shifts.h"
#include "desktop/app/command_dispatcher.h"
#include "desktop/app/main_form.h"
#include "desktop/exchange/clipboard_commands.h"
#include "desktop/platform/platform.h"
#include "desktop/widgets/spin_edit.h"
#include "desktop/widgets/string_grid_model.h"
#include "desktop/widgets/string_grid_view.h"
#include "labels/colour_reindex.h"
#include "labels/edit_table.h"

namespace trelvanox {

namespace {

constexpr int kEmptyColumnWidth = 125;
constexpr int kColumnPadding = 10;

// Shows the edit table's new contents, whatever part of it changed.
void Refresh(TFmMainForm& form) {
    form.sgNewSetsLabels()->GridModel()->GridChanged();
}

QAction* AddItem(QMenu* menu, const char* name, const QString& caption, TFmMainForm& form,
                 void (*handler)(TFmMainForm&)) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromUtf8(name));
    QObject::connect(item, &QAction::triggered, &form, [&form, handler] {
        RunCommand(form.Platform(), &form, [&form, handler] { handler(form); });
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

QMenu* BuildEditTableMenu(TFmMainForm& form) {
    auto* menu = new QMenu(&form);
    menu->setObjectName(QStringLiteral("PopupMenusgNewSetsLabels"));
    AddItem(menu, "Очистить", QStringLiteral("Очистить"), form, ClearEditTableClick);
    AddSeparator(menu, "N3");
    AddItem(menu, "N1", QStringLiteral("Копировать"), form, CopyTableToClipboard);
    AddItem(menu, "N2", QStringLiteral("Вставить"), form, PasteTableFromClipboard);
    AddSeparator(menu, "N4");
    QMenu* rows = AddSubmenu(menu, "N5", QStringLiteral("Строка"));
    AddItem(rows, "N7", QStringLiteral("Вставить"), form, N7Click);
    AddItem(rows, "N8", QStringLiteral("Удалить"), form, N8Click);
    AddItem(rows, "N6", QStringLiteral("Сделать начальной"), form, N6Click);
    QMenu* columns = AddSubmenu(menu, "N9", QStringLiteral("Столбец"));
    AddItem(columns, "N10", QStringLiteral("Вставить"), form, N10Click);
    AddItem(columns, "N11", QStringLiteral("Удалить"), form, N11Click);
    return menu;
}

void acnClearTableLabelsExecute(TFmMainForm& form) {
    ClearGridCells(form.NewLabelsGrid(), 0, 1);
    SetEditTableCaptions(form.NewLabelsGrid());
    Refresh(form);
}

void ClearEditTableClick(TFmMainForm& form) {
    ClearGridCells(form.NewLabelsGrid(), 0, 1);
    Refresh(form);
}

void N7Click(TFmMainForm& form) {
    if (InsertGridRow(form.NewLabelsGrid(), form.SelectedRow)) Refresh(form);
}

void N8Click(TFmMainForm& form) {
    if (DeleteGridRow(form.NewLabelsGrid(), form.SelectedRow)) Refresh(form);
}

void N6Click(TFmMainForm& form) {
    form.seFirstRow()->SetValue(form.SelectedRow);
}

void N10Click(TFmMainForm& form) {
    if (InsertGridColumn(form.NewLabelsGrid(), form.SelectedColumn)) Refresh(form);
}

void N11Click(TFmMainForm& form) {
    if (DeleteGridColumn(form.NewLabelsGrid(), form.SelectedColumn)) Refresh(form);
}

void acnTranslateTableExecute(TFmMainForm& form) {
    const TMsgResult answer = form.Platform().MessageBox(
        &form,
        QStringLiteral("При переносе данных цвета меток будут проиндексированы заново.\nНе "
                       "забудьте проверить цвета меток на соответствие индексам"),
        QStringLiteral("Перенос таблицы"), TMsgButtons::OkCancelHelp, TMsgIcon::Warning);
    if (answer != TMsgResult::Ok) return;
    try {
        TranslateLabelTable(form.ReadLabelsGrid(), form.Model().LabelTotal(), form.NewLabelsGrid());
    } catch (...) {
        // The copied columns stay visible; the error goes on to the general error display.
        Refresh(form);
        throw;
    }
    Refresh(form);
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
