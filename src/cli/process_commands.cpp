#include "cli/process_commands.h"

#include <algorithm>

#include "cli/cli_session.h"
#include "common/program_error.h"
#include "processing/chain_runner.h"
#include "processing/processed_edit.h"

namespace trelvanox {

namespace {

TProcessingChain ChainArgument(const std::string& text, std::string_view option) {
    try {
        return ParseChain(text);
    } catch (const TProgramError& e) {
        throw TCliUsageError(std::string(option) + ": " + e.what());
    }
}

int RunProcess(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    // The chain first, so that a mistyped one fails before the file is read.
    const TProcessingChain chain = ChainArgument(args.Positional[1], "CHAIN");
    // A step written "-name" is off; a chain of such steps would write a step that changes nothing.
    if (StepsOn(chain).empty()) throw TCliUsageError("CHAIN: every step is off");
    TRadargramDocument document;
    if (!OpenDocument(document, args, LayoutOption(args), err)) return 1;
    if (!document.Model().SamplesIntact())
        throw TProgramError("the file's samples were damaged by a failed read; read it again");
    return Report(document.Change(ProcessedEdit(document.Model(), chain)), err);
}

}  // namespace

std::optional<TProcessingChain> ProcessOption(const TParsedArgs& args) {
    const auto text = args.Value("--process");
    if (!text) return std::nullopt;
    return ChainArgument(*text, "--process");
}

std::vector<TCliCommand> ProcessCommands() {
    return {
        {"process",
         "process FILE CHAIN [--layout gpr|gpr2] [--no-history]",
         "run the processing chain CHAIN over the samples and write them into the file as one "
         "step of its history (undo puts the samples back); CHAIN is steps separated by commas, "
         "in the order they run: zero=Z (time zero, samples), dewow=W (odd window, samples), "
         "bgr=N (background removal over N traces, odd, or 0 for all), tpow=P (gain t^P, t in "
         "ns), agc=W (odd window, samples), envelope; e.g. zero=12,dewow=15,bgr=0,tpow=1.5",
         {{"--layout", 1}, {"--no-history", 0}},
         2,
         RunProcess},
    };
}

}  // namespace trelvanox
