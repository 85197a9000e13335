#pragma once

#include <cstdint>
#include <string>

#include "desktop/document/document_context.h"
#include "document/model_edit.h"

class QString;

namespace trelvanox {

class TLongOperation;
struct TDocumentResult;
struct TModelEdit;

// The screen side of reading and writing the radargram: the file named in the context's file
// field, in the layout the settings name at that moment.

// Shows the message of a failed operation (nothing for a success); true for a success.
bool ReportResult(TDocumentContext& context, const TDocumentResult& result);

// Each reports its own failure; the results are 0 for success and 1 for failure. The read takes
// the layout the settings name, unless the file does not fit it and fits the other: then the
// user is asked which to read it in (a file read before in the other layout is read so again).
std::int32_t ReadRadargram(TDocumentContext& context);
// The write is journalled and becomes a step of the file's history under the description; it
// keeps the layout the file was read in.
std::int32_t WriteRadargram(TDocumentContext& context, const std::string& description);

// The edit applied and written as one step of the file's history (TRadargramDocument::Change),
// run as the operation's work on its worker thread, its progress on the bar from `from` to the
// end. A failure is reported, a stop is not (the file and the model are as before). True when
// the file got the change.
bool ChangeRadargram(TDocumentContext& context, const TModelEdit& edit, TLongOperation& operation,
                     double from);

// "Открыть": choose a file, then read it (cancelling reads the file already named). The dialog
// proposes lastOpenedPath and keeps the choice there; radargramFileName takes the chosen file's
// name without folder, which names exported tables.
void btnOpenDirectoryClick(TDocumentContext& context, QString& lastOpenedPath,
                           QString& radargramFileName);
// A file named on the program's command line (a file manager's "Открыть с помощью"): read as
// if it had been chosen in the open dialog, which then proposes it.
void OpenNamedFile(TDocumentContext& context, const QString& path, QString& lastOpenedPath,
                   QString& radargramFileName);
// "Обновить": read again; 0 for success, 1 for failure.
std::int32_t acnReadFileExecute(TDocumentContext& context);
// "Редактирование": write the model back.
void acnWriteFileExecute(TDocumentContext& context);
// "Удалить 0-разделитель": write the traces packed, without the GPR2 gaps.
void acnDeleteZeroDelimiterExecute(TDocumentContext& context);

// For the commands that change the model: true when a file has been read; otherwise reports
// the writer's "not read" message, and the command must change nothing.
bool RequireReadFile(TDocumentContext& context);
// The end of every such command: write the model, then refresh both tables from the file.
// A failed write stops before the read, so its message is the last the user sees; true only
// when both succeeded, which is when the command may report success.
bool WriteAndRefresh(TDocumentContext& context, const std::string& description);
// As WriteAndRefresh for an edit the document applies inside its write: when the write fails or
// is refused, the model is the file's again, so no later command writes the failed edit.
bool ChangeAndRefresh(TDocumentContext& context, const TModelEdit& edit);

}  // namespace trelvanox
