#include "cli/file_commands.h"

#include "cli/cli_session.h"
#include "cli/info_report.h"

namespace trelvanox {

int RunInfo(const TParsedArgs& args, std::ostream& out, std::ostream& err) {
    TRadargramDocument document;
    if (!OpenDocument(document, args, LayoutOption(args), err)) return 1;
    out << BuildInfoReport(document) << '\n';
    return 0;
}

int RunRewrite(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    const TRadarLayout layout = LayoutOption(args);
    const TRadarLayout writeLayout =
        args.Has("--write-layout") ? LayoutOption(args, "--write-layout") : layout;
    TRadargramDocument document;
    if (!OpenDocument(document, args, layout, err, true)) return 1;
    return Report(document.Write(document.Path(), writeLayout, "Перезапись файла"), err);
}

int RunPack(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    TRadargramDocument document;
    if (!OpenDocument(document, args, LayoutOption(args), err, true)) return 1;
    return Report(document.WriteWithoutGaps("Удаление 0-разделителя"), err);
}

std::vector<TCliCommand> FileCommands() {
    return {
        {"info",
         "info FILE [--layout gpr|gpr2]",
         "print the header, the label counts and both tables as one JSON object",
         {{"--layout", 1}},
         1,
         RunInfo},
        {"rewrite",
         "rewrite FILE [--layout gpr|gpr2] [--write-layout gpr|gpr2] [--no-history]",
         "read the file and write it back in place (in the second layout when given)",
         {{"--no-history", 0}, {"--layout", 1}, {"--write-layout", 1}},
         1,
         RunRewrite},
        {"pack",
         "pack FILE [--layout gpr|gpr2] [--no-history]",
         "read the file and write its traces back without the zero gaps",
         {{"--no-history", 0}, {"--layout", 1}},
         1,
         RunPack},
    };
}

}  // namespace trelvanox
