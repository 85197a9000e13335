#include "cli_run.h"

#include <sstream>
#include <string_view>

#include "cli/cli.h"

namespace trelvanox::test {

TCliRun RunTool(const std::vector<std::string>& args) {
    const std::vector<std::string_view> views(args.begin(), args.end());
    std::ostringstream out, err;
    const int code = RunCli(views, out, err);
    return {code, out.str(), err.str()};
}

}  // namespace trelvanox::test
