#pragma once

#include <vector>

#include "cli/cli_command.h"

namespace trelvanox {

// render: the radargram as a PNG picture, drawn by the same renderer as the desktop's view.
std::vector<TCliCommand> RenderCommands();

}  // namespace trelvanox
