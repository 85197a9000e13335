// The batch tool of a build without libpng (the Windows cross build: Debian has no libpng for
// it) cannot write pictures, so its help lists no render command.

#include "cli/render_commands.h"

namespace trelvanox {

std::vector<TCliCommand> RenderCommands() {
    return {};
}

}  // namespace trelvanox
