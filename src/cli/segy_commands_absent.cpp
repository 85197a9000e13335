// The batch tool of a build without the SEG-Y library (the Windows cross build: Debian has no
// segyio for it) offers no SEG-Y export, so its help does not list one.

#include "cli/segy_commands.h"

namespace trelvanox {

std::vector<TCliCommand> SegyCommands() {
    return {};
}

}  // namespace trelvanox
