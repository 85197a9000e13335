#include "cli/cli.h"

#include <algorithm>
#include <exception>
#include <new>
#include <string>

#include "cli/amplitude_commands.h"
#include "cli/cli_args.h"
#include "cli/edit_commands.h"
#include "cli/exchange_commands.h"
#include "cli/file_commands.h"
#include "cli/history_commands.h"
#include "cli/render_commands.h"
#include "cli/segy_commands.h"
#include "common/program_error.h"

namespace trelvanox {

namespace {

// Every command family of the tool, in the order the help lists them.
const std::vector<TCliCommand>& Commands() {
    static const std::vector<TCliCommand> commands = [] {
        std::vector<TCliCommand> all;
        for (auto family : {FileCommands, EditCommands, ExchangeCommands, SegyCommands,
                            AmplitudeCommands, RenderCommands, HistoryCommands}) {
            for (TCliCommand& c : family()) all.push_back(std::move(c));
        }
        return all;
    }();
    return commands;
}

void PrintHelp(std::ostream& out) {
    out << "trelvanox-cli: batch processing of GPR and GPR2 radargram files\n\n"
           "usage: trelvanox-cli COMMAND ARGUMENTS...\n\ncommands:\n";
    for (const TCliCommand& c : Commands())
        out << "  " << c.Usage << "\n      " << c.Summary << '\n';
    out << "\nThe layout is GPR2 unless --layout says otherwise: the file does not tell.\n"
           "Every command takes --wait SECONDS: how long it waits while another Trelvanox\n"
           "process is changing the file (default 10) before it gives up with status 1.\n"
           "Exit status: 0 success, 1 the operation failed (message on stderr), 2 bad usage.\n";
}

}  // namespace

int RunCommand(const TCliCommand& command, const std::vector<std::string_view>& args,
               std::ostream& out, std::ostream& err) {
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        out << "usage: trelvanox-cli " << command.Usage << '\n' << command.Summary << '\n';
        return 0;
    }
    try {
        // Every command reads or changes a file that another process may be changing.
        std::vector<TCliOption> options = command.Options;
        options.push_back({"--wait", 1});
        const TParsedArgs parsed = ParseArgs(args, options, command.Positional);
        return command.Run(parsed, out, err);
    } catch (const TCliUsageError& e) {
        err << "trelvanox-cli " << command.Name << ": " << e.what() << "\nusage: trelvanox-cli "
            << command.Usage << '\n';
        return 2;
    } catch (const TProgramError& e) {
        err << e.what() << '\n';
        return 1;
    } catch (const std::bad_alloc&) {
        // Whatever the command held is freed by now, so there is memory for the message.
        err << kOutOfMemoryMessage << '\n';
        return 1;
    } catch (const std::exception& e) {
        // As the desktop program's general error display: the message, and the command ends.
        err << e.what() << '\n';
        return 1;
    }
}

int RunCli(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(args.empty() ? err : out);
        return args.empty() ? 2 : 0;
    }
    const auto command = std::find_if(Commands().begin(), Commands().end(),
                                      [&](const TCliCommand& c) { return c.Name == args[0]; });
    if (command == Commands().end()) {
        err << "trelvanox-cli: unknown command '" << args[0] << "'; see trelvanox-cli --help\n";
        return 2;
    }
    const std::vector<std::string_view> rest(args.begin() + 1, args.end());
    return RunCommand(*command, rest, out, err);
}

}  // namespace trelvanox
