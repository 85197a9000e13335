#include "cli/exchange_commands.h"

#include "cli/cli_session.h"
#include "exchange/label_export.h"

namespace trelvanox {

int RunExportLabels(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    TRadargramDocument document;
    if (!OpenDocument(document, args, LayoutOption(args), err)) return 1;
    // A file that cannot be created throws; the dispatcher prints its message and exits with 1.
    const std::string warning = ExportGridToFile(document.ReadLabelTable(), args.Positional[1]);
    if (!warning.empty()) err << warning << '\n';
    return 0;
}

std::vector<TCliCommand> ExchangeCommands() {
    return {
        {"export-labels",
         "export-labels FILE OUT [--layout gpr|gpr2|auto]",
         "read the file and write its label table to OUT as a TAB-delimited Windows-1251 text",
         {{"--layout", 1}},
         2,
         RunExportLabels},
    };
}

}  // namespace trelvanox
