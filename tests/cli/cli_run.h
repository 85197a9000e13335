#pragma once

#include <string>
#include <vector>

namespace trelvanox::test {

// One run of the batch tool: its exit code and what it printed.
struct TCliRun {
    int Code = 0;
    std::string Out;
    std::string Err;
};

// Runs the batch tool with these arguments (the program name left out).
TCliRun RunTool(const std::vector<std::string>& args);

}  // namespace trelvanox::test
