#pragma once

#include <ostream>
#include <string_view>
#include <vector>

#include "cli/cli_command.h"

namespace trelvanox {

// What a command that ran out of memory prints before it exits with 1.
inline constexpr std::string_view kOutOfMemoryMessage = "Недостаточно памяти: операция прервана.";

// Runs one command line of the batch tool (the arguments after the program name) and returns
// its exit code: 0 success, 1 a failure of the operation (its message on err), 2 a command
// line that makes no sense (the reason and the usage on err).
int RunCli(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err);

// Runs one command with its arguments (those after its name), with the same exit codes. Any
// exception the command throws ends it: std::bad_alloc with kOutOfMemoryMessage, any other
// std::exception with its message, both on err and with 1; the process never aborts.
int RunCommand(const TCliCommand& command, const std::vector<std::string_view>& args,
               std::ostream& out, std::ostream& err);

}  // namespace trelvanox
