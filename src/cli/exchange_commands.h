#pragma once

#include <ostream>
#include <vector>

#include "cli/cli_command.h"

namespace trelvanox {

// export-labels FILE OUT [--layout L]: read FILE, then write its read-label table to OUT as the
// export of the main window writes it.
int RunExportLabels(const TParsedArgs& args, std::ostream& out, std::ostream& err);

// export-segy FILE OUT [--layout L] [--no-labels]: read FILE, then write it to OUT as SEG-Y
// and, unless --no-labels, its labels to the labels file beside OUT (ExportSegy).
int RunExportSegy(const TParsedArgs& args, std::ostream& out, std::ostream& err);

// export-labels, export-segy.
std::vector<TCliCommand> ExchangeCommands();

}  // namespace trelvanox
