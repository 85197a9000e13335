#include "cli/edit_commands.h"

namespace trelvanox {

std::vector<TCliCommand> EditCommands() { return {}; }

}  // namespace trelvanox
