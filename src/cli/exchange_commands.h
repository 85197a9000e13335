#pragma once

#include <ostream>
#include <vector>

#include "cli/cli_command.h"

namespace trelvanox {

// export-labels FILE OUT [--layout L]: read FILE, then write its read-label table to OUT as the
// export of the main window writes it.
int RunExportLabels(const TParsedArgs& args, std::ostream& out, std::ostream& err);

// export-labels.
std::vector<TCliCommand> ExchangeCommands();

}  // namespace trelvanox
