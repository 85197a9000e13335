#include "cli/segy_commands.h"

#include "cli/cli_session.h"
#include "common/file_paths.h"
#include "segy/segy_export.h"

namespace trelvanox {

int RunExportSegy(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    TRadargramDocument document;
    if (!OpenDocument(document, args, LayoutOption(args), err)) return 1;
    TSegyExportOptions options;
    options.Labels = !args.Has("--no-labels");
    // The argument is UTF-8 on every system; a plain string would be read in the ANSI code page
    // on Windows and lose a Cyrillic name.
    ExportSegy(document.Model(), PathFromUtf8(args.Positional[1]), options);
    return 0;
}

std::vector<TCliCommand> SegyCommands() {
    return {
        {"export-segy",
         "export-segy FILE OUT.sgy [--layout gpr|gpr2] [--no-labels]",
         "read the file and write it to OUT.sgy as SEG-Y (IEEE floats, sample interval in ps), "
         "its labels to OUT.labels.csv",
         {{"--layout", 1}, {"--no-labels", 0}},
         2,
         RunExportSegy},
    };
}

}  // namespace trelvanox
