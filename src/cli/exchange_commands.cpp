#include "cli/exchange_commands.h"

#include "cli/cli_session.h"
#include "exchange/label_export.h"
#include "segy/segy_export.h"

namespace trelvanox {

int RunExportLabels(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    TRadargramDocument document;
    if (!OpenDocument(document, args, LayoutOption(args), err)) return 1;
    // A file that cannot be created throws; the dispatcher prints its message and exits with 1.
    ExportGridToFile(document.ReadLabelTable(), args.Positional[1]);
    return 0;
}

int RunExportSegy(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    TRadargramDocument document;
    if (!OpenDocument(document, args, LayoutOption(args), err)) return 1;
    TSegyExportOptions options;
    options.Labels = !args.Has("--no-labels");
    ExportSegy(document.Model(), args.Positional[1], options);
    return 0;
}

std::vector<TCliCommand> ExchangeCommands() {
    return {
        {"export-labels",
         "export-labels FILE OUT [--layout gpr|gpr2]",
         "read the file and write its label table to OUT as a TAB-delimited Windows-1251 text",
         {{"--layout", 1}},
         2,
         RunExportLabels},
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
