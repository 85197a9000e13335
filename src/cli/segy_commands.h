#pragma once

#include <ostream>
#include <vector>

#include "cli/cli_command.h"

namespace trelvanox {

// export-segy FILE OUT [--layout L] [--no-labels]: read FILE, then write it to OUT as SEG-Y
// and, unless --no-labels, its labels to the labels file beside OUT (ExportSegy).
int RunExportSegy(const TParsedArgs& args, std::ostream& out, std::ostream& err);

// export-segy; none in a build without the SEG-Y library.
std::vector<TCliCommand> SegyCommands();

}  // namespace trelvanox
