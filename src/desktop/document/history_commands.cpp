#include "desktop/document/history_commands.h"

#include "desktop/document/radargram_file_commands.h"
#include "document/radargram_document.h"

namespace trelvanox {

// Without a read file the document answers with the writer's "not read" message itself.
void acnUndoExecute(TDocumentContext& context) {
    ReportResult(context, context.Document.Undo());
}

void acnRedoExecute(TDocumentContext& context) {
    ReportResult(context, context.Document.Redo());
}

}  // namespace trelvanox
