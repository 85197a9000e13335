#pragma once

namespace trelvanox {

class TFmMainForm;

// "Редактировать заголовок": the fields of "Данные для записи" into the header, as far as the
// edit scope allows, then write, refresh and report. True when the header reached the file.
bool acnChangeHeaderSetsExecute(TFmMainForm& form);
// "Применить": the header editing, then one more write and a fresh header table.
void btnChangeHeaderSetsClick(TFmMainForm& form);
// "Удаление данных заголовка": after a confirmation, empty the texts and the start coordinate.
void acnSetNoHeaderExecute(TFmMainForm& form);

}  // namespace trelvanox
