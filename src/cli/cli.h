#pragma once

#include <ostream>
#include <string_view>
#include <vector>

namespace trelvanox {

// Runs one command line of the batch tool (the arguments after the program name) and returns
// its exit code: 0 success, 1 a failure of the operation (its message on err), 2 a command
// line that makes no sense (the reason and the usage on err).
int RunCli(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err);

}  // namespace trelvanox
