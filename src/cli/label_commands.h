#pragma once

#include <vector>

#include "cli/cli_command.h"

namespace trelvanox {

// add-label, move-label, delete-label, set-label and calibrate.
std::vector<TCliCommand> LabelCommands();

}  // namespace trelvanox
