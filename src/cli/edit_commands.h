#pragma once

#include <vector>

#include "cli/cli_command.h"

namespace trelvanox {

// header, apply-labels, reset-positions, reset-names and insert-label.
std::vector<TCliCommand> EditCommands();

}  // namespace trelvanox
