#pragma once

namespace trelvanox {

class TFmMainForm;

// The label commands of the main window. Each changes the model only when it has all it needs
// (a read file, texts that convert), then writes the file, refreshes both tables and reports.

// "Редактировать метки": the edit table into the labels from the row of "Начальная строка
// редактирования".
void acnChangeLabelSetsExecute(TFmMainForm& form);
// "Сброс положений": every trace coordinate to 0, after a confirmation.
void acnSetZeroPositionExecute(TFmMainForm& form);
// "Сброс названия меток": every label text emptied, after a confirmation.
void acnSetNoLabelTextExecute(TFmMainForm& form);
// "Вставить" of the insertion dialog: labels without text on the chosen traces.
void bbtnInsertLabelClick(TFmMainForm& form);

}  // namespace trelvanox
