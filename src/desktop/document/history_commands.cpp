#include "desktop/document/history_commands.h"

#include "desktop/document/radargram_file_commands.h"
#include "document/radargram_document.h"

namespace trelvanox {

void acnUndoExecute(TDocumentContext& context) {
    if (!RequireReadFile(context)) return;
    ReportResult(context, context.Document.Undo());
}

void acnRedoExecute(TDocumentContext& context) {
    if (!RequireReadFile(context)) return;
    ReportResult(context, context.Document.Redo());
}

}  // namespace trelvanox
