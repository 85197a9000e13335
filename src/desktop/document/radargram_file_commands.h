#pragma once

#include <cstdint>

namespace trelvanox {

class TFmMainForm;

// The screen side of reading and writing the radargram named in the window's file field, in
// the layout the settings name at that moment. Each reports its own failure; the results are
// 0 for success and 1 for failure.
std::int32_t ReadRadargram(TFmMainForm& form);
std::int32_t WriteRadargram(TFmMainForm& form);

// "Открыть": choose a file, then read it (cancelling reads the file already named).
void btnOpenDirectoryClick(TFmMainForm& form);
// "Обновить": titles of the read-label table, then read; 0 for success, 1 for failure.
std::int32_t acnReadFileExecute(TFmMainForm& form);
// "Редактирование": write the model back.
void acnWriteFileExecute(TFmMainForm& form);
// "Удалить 0-разделитель": write the traces packed, without the GPR2 gaps.
void acnDeleteZeroDelimiterExecute(TFmMainForm& form);

// For the commands that change the model: true when a file has been read; otherwise reports
// the writer's "not read" message, and the command must change nothing.
bool RequireReadFile(TFmMainForm& form);
// The end of every such command: write the model, then refresh both tables from the file.
// A failed write stops before the read, so its message is the last the user sees; true only
// when both succeeded, which is when the command may report success.
bool WriteAndRefresh(TFmMainForm& form);

}  // namespace trelvanox
