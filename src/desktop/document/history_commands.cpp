#include "desktop/document/history_commands.h"

#include "desktop/document/long_operation.h"
#include "desktop/document/radargram_file_commands.h"
#include "document/radargram_document.h"

namespace trelvanox {

namespace {

// The step an undo or a redo takes, as the window names it: the newest one in the file, or the
// oldest one undone.
QString StepName(const std::vector<THistoryEntry>& steps, bool undo) {
    const auto named = [](const THistoryEntry& step) {
        return QStringLiteral("«%1»").arg(QString::fromStdString(step.Description));
    };
    if (undo) {
        for (auto step = steps.rbegin(); step != steps.rend(); ++step)
            if (step->Applied) return named(*step);
    } else {
        for (const THistoryEntry& step : steps)
            if (!step.Applied) return named(step);
    }
    return {};
}

// A step rewrites what the change wrote and reads the whole file again: on a large file it
// takes as long as the change did, so it runs as a long operation that "Отмена" stops with the
// file as it was.
void TakeStep(TDocumentContext& context, bool undo) {
    TRadargramDocument& document = context.Document;
    // Without a read file the document answers with the writer's "not read" message itself.
    if (!document.Model().FileLoaded()) {
        ReportResult(context, undo ? document.Undo() : document.Redo());
        return;
    }
    TLongOperation operation(&context.Owner,
                             undo ? QStringLiteral("Отменить") : QStringLiteral("Повторить"),
                             ShowsProgressAtOnce(document.Model()), &context.Use);
    operation.SetStage(StepName(document.History(), undo));
    TDocumentResult result;
    operation.Run([&](const TWriteProgress& progress) {
        result = undo ? document.Undo(progress) : document.Redo(progress);
    });
    // A stop needs no word: the file, the model and the history are as they were.
    if (result.Cancelled) return;
    ReportResult(context, result);
}

}  // namespace

void acnUndoExecute(TDocumentContext& context) {
    TakeStep(context, true);
}

void acnRedoExecute(TDocumentContext& context) {
    TakeStep(context, false);
}

}  // namespace trelvanox
