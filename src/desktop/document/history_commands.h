#pragma once

#include "desktop/document/document_context.h"

namespace trelvanox {

// "Отменить": the file back to how it was before its newest change, then read again.
void acnUndoExecute(TDocumentContext& context);
// "Повторить": the change undone last made again, then read again.
void acnRedoExecute(TDocumentContext& context);

}  // namespace trelvanox
