#pragma once

#include <chrono>
#include <optional>

#include "document/file_history.h"
#include "model/file_messages.h"
#include "model/radargram_io.h"

namespace trelvanox {

// The texts of the document's journalled writes, undo and redo (Russian, plain messages).

// Nothing for a change that was done or altered no byte; otherwise why the file is as it was
// (or will be put right at the next read). writer is the writer's own status, for a change its
// writer refused.
std::optional<TFileMessage> ChangeFailureMessage(THistoryStatus status, TWriteStatus writer);
// Nothing for an undo or redo that was done.
std::optional<TFileMessage> StepFailureMessage(const THistoryOutcome& outcome, bool undo);
// Why a write is refused when the file is not as the last read or change left it: another file
// at that path, another size, another modification time.
TFileMessage ChangedOnDiskMessage(const TFileStamp& expected, const TFileStamp& found);
// Why a change (or a read) gave up: another Trelvanox process kept the file for the whole wait.
TFileMessage BusyMessage(bool change, std::chrono::milliseconds waited);

}  // namespace trelvanox
