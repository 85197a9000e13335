#pragma once

#include <vector>

#include "cli/cli_command.h"

namespace trelvanox {

// export-labels.
std::vector<TCliCommand> ExchangeCommands();

}  // namespace trelvanox
