#include "cli/exchange_commands.h"

namespace trelvanox {

std::vector<TCliCommand> ExchangeCommands() { return {}; }

}  // namespace trelvanox
