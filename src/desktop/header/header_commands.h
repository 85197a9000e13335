#pragma once

#include "desktop/document/document_context.h"

namespace trelvanox {

class THeaderEditPage;

// "Редактировать заголовок": the fields of "Данные для записи" into the header, as far as the
// edit scope allows, then write, refresh and report. True when the header reached the file.
bool acnChangeHeaderSetsExecute(TDocumentContext& context, const THeaderEditPage& page);
// "Применить": the header editing, then one more write and a fresh header table.
void btnChangeHeaderSetsClick(TDocumentContext& context, const THeaderEditPage& page);
// "Удаление данных заголовка": after a confirmation, empty the texts and the start coordinate.
void acnSetNoHeaderExecute(TDocumentContext& context);

}  // namespace trelvanox
