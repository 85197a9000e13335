#pragma once

#include <optional>
#include <vector>

#include "cli/cli_command.h"
#include "processing/processing_chain.h"

namespace trelvanox {

// process: the chain written into the radargram as one step of its history.
std::vector<TCliCommand> ProcessCommands();

// The chain of --process, when given; a chain that cannot be read is bad usage.
std::optional<TProcessingChain> ProcessOption(const TParsedArgs& args);

}  // namespace trelvanox
