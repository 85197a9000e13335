#pragma once

class QCheckBox;
class QMenu;

namespace trelvanox {

class TFmMainForm;
class TStringGridView;

// The edit table's own operations: its context menu, its clearing command, the transfer from
// the read-label table and the fitting of column widths.

// PopupMenusgNewSetsLabels with its items in menu order; its row and column items act on the
// cell last selected (SelectedRow, SelectedColumn).
QMenu* BuildEditTableMenu(TFmMainForm& form);

// "Очистка таблицы": empty the edit table below its titles and write the titles again.
void acnClearTableLabelsExecute(TFmMainForm& form);
// "Очистить" of the menu: empty the edit table below row 0, whatever row 0 now holds.
void ClearEditTableClick(TFmMainForm& form);
// "Строка" > "Вставить", "Удалить", "Сделать начальной"; "Столбец" > "Вставить", "Удалить".
void N7Click(TFmMainForm& form);
void N8Click(TFmMainForm& form);
void N6Click(TFmMainForm& form);
void N10Click(TFmMainForm& form);
void N11Click(TFmMainForm& form);

// "Перенести таблицу": after a warning, the read-label table into the edit table with fresh
// colour indices.
void acnTranslateTableExecute(TFmMainForm& form);

// Fits every column of the grid to its widest text when the box is checked; does nothing
// otherwise.
void AutoSizeColumns(TStringGridView& grid, const QCheckBox& box);

}  // namespace trelvanox
