#include "cli/segy_commands.h"

#include "cli/cli_session.h"
#include "cli/process_commands.h"
#include "common/file_paths.h"
#include "processing/chain_runner.h"
#include "segy/segy_export.h"

namespace trelvanox {

int RunExportSegy(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    const auto chain = ProcessOption(args);
    TRadargramDocument document;
    if (!OpenDocument(document, args, LayoutOption(args), err)) return 1;
    TSegyExportOptions options;
    options.Labels = !args.Has("--no-labels");
    // The processed samples go out; the radargram stays as it is.
    std::optional<TProcessedTraces> processed;
    if (chain && document.Model().SamplesIntact()) {
        processed = ProcessProfile(document.Model(), *chain);
        options.Samples = [&](std::uint32_t t) { return processed->Trace(t).data(); };
    }
    // The argument is UTF-8 on every system; a plain string would be read in the ANSI code page
    // on Windows and lose a Cyrillic name.
    const std::string warning =
        ExportSegy(document.Model(), PathFromUtf8(args.Positional[1]), options);
    if (!warning.empty()) err << warning << '\n';
    return 0;
}

std::vector<TCliCommand> SegyCommands() {
    return {
        {"export-segy",
         "export-segy FILE OUT.sgy [--layout gpr|gpr2|auto] [--no-labels] [--process CHAIN]",
         "read the file and write it to OUT.sgy as SEG-Y (IEEE floats, sample interval in ps), "
         "its labels to OUT.labels.csv; with --process the samples run through the processing "
         "chain "
         "CHAIN first (as in process; the file is not changed)",
         {{"--layout", 1}, {"--no-labels", 0}, {"--process", 1}},
         2,
         RunExportSegy},
    };
}

}  // namespace trelvanox
