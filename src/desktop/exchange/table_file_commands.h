#pragma once

namespace trelvanox {

class TFmMainForm;

// "Импорт таблицы": a delimited text file chosen by the user into the edit table, fields split
// at the delimiter of the settings.
void acnImportTableExecute(TFmMainForm& form);
// "Экспорт таблицы": the read-label table into a TAB-delimited text file chosen by the user.
void acnExportTableExecute(TFmMainForm& form);

}  // namespace trelvanox
