#pragma once

#include <cstdint>

#include "desktop/document/document_context.h"
#include "labels/label_write_back.h"

namespace trelvanox {

class TFmInsertLabel;

// The label commands of the main window. Each changes the model only when it has all it needs
// (a read file, texts that convert), then writes the file, refreshes both tables and reports.

// "Редактировать метки": the edit table into the labels from its row firstRow (the value of
// "Начальная строка редактирования"), colour indices through the colour map.
void acnChangeLabelSetsExecute(TDocumentContext& context, const TStringGrid& editTable,
                               std::int32_t firstRow, const TColourMap& colours);
// "Сброс положений": every trace coordinate to 0, after a confirmation.
void acnSetZeroPositionExecute(TDocumentContext& context);
// "Сброс названия меток": every label text emptied, after a confirmation.
void acnSetNoLabelTextExecute(TDocumentContext& context);
// "Вставить" of the insertion dialog: labels without text on the traces its boxes choose; its
// own messages belong to the dialog.
void bbtnInsertLabelClick(TDocumentContext& context, TFmInsertLabel& dialog);

}  // namespace trelvanox
