#pragma once

#include <ostream>

#include "cli/cli_command.h"

namespace trelvanox {

// info FILE [--layout L]: the file as the main window would show it, as one JSON object.
int RunInfo(const TParsedArgs& args, std::ostream& out, std::ostream& err);
// rewrite FILE [--layout L] [--write-layout L]: read, then write back in place.
int RunRewrite(const TParsedArgs& args, std::ostream& out, std::ostream& err);
// pack FILE [--layout L]: read, then write the traces without the GPR2 gaps.
int RunPack(const TParsedArgs& args, std::ostream& out, std::ostream& err);

// info, rewrite and pack.
std::vector<TCliCommand> FileCommands();

}  // namespace trelvanox
