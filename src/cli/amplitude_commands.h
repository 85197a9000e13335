#pragma once

#include <vector>

#include "cli/cli_command.h"

namespace trelvanox {

// gain, clip, zero-traces, extremes and zero-max.
std::vector<TCliCommand> AmplitudeCommands();

}  // namespace trelvanox
