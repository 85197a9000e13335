#pragma once

class QCheckBox;
class QMenu;
class QWidget;

namespace trelvanox {

class TPlatform;
class TRadargramDocument;
class TSpinEdit;
class TStringGridView;

// The edit table as its commands reach it: its view (and through it the grid), the field
// "Начальная строка редактирования", the cell last selected, and where their questions and
// messages go. The main window owns all of them and outlives every command.
struct TEditTableContext {
    TStringGridView& View;
    TSpinEdit& FirstRow;
    const int& SelectedRow;
    const int& SelectedColumn;
    TPlatform& Platform;
    QWidget& Owner;
};

// The edit table's own operations: its context menu, its clearing command, the transfer from
// the read-label table and the fitting of column widths.

// PopupMenusgNewSetsLabels, a child of the context's owner, with its items in menu order; its
// row and column items act on the cell last selected.
QMenu* BuildEditTableMenu(TEditTableContext& context);

// "Очистка таблицы": empty the edit table below its titles and write the titles again.
void acnClearTableLabelsExecute(TEditTableContext& context);
// "Очистить" of the menu: empty the edit table below row 0, whatever row 0 now holds.
void ClearEditTableClick(TEditTableContext& context);
// "Строка" > "Вставить", "Удалить", "Сделать начальной"; "Столбец" > "Вставить", "Удалить".
void N7Click(TEditTableContext& context);
void N8Click(TEditTableContext& context);
void N6Click(TEditTableContext& context);
void N10Click(TEditTableContext& context);
void N11Click(TEditTableContext& context);

// "Перенести таблицу": after a warning, the document's read-label table into the edit table with
// fresh colour indices.
void acnTranslateTableExecute(TEditTableContext& context, const TRadargramDocument& document);

// Fits every column of the grid to its widest text when the box is checked; does nothing
// otherwise.
void AutoSizeColumns(TStringGridView& grid, const QCheckBox& box);

}  // namespace trelvanox
