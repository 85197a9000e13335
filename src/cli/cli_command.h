#pragma once

#include <ostream>
#include <string_view>
#include <vector>

#include "cli/cli_args.h"

namespace trelvanox {

// One command of the batch tool. Each command family lists its commands in its own file; the
// dispatcher joins the lists.
struct TCliCommand {
    std::string_view Name;
    std::string_view Usage;
    std::string_view Summary;
    std::vector<TCliOption> Options;
    std::size_t Positional;
    int (*Run)(const TParsedArgs&, std::ostream& out, std::ostream& err);
    // Positional is the least number of positional arguments, and any more may follow.
    bool MorePositional = false;
};

}  // namespace trelvanox
