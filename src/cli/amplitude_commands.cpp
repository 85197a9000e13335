#include "cli/amplitude_commands.h"

namespace trelvanox {

std::vector<TCliCommand> AmplitudeCommands() { return {}; }

}  // namespace trelvanox
