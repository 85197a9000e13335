#pragma once

#include <vector>

#include "cli/cli_command.h"

namespace trelvanox {

// undo, redo and history: the file's history of changes, shared with the desktop program.
std::vector<TCliCommand> HistoryCommands();

}  // namespace trelvanox
