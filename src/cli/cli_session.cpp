#include "cli/cli_session.h"

#include "common/file_paths.h"

namespace trelvanox {

bool OpenDocument(TRadargramDocument& document, const TParsedArgs& args, TRadarLayout layout,
                  std::ostream& err) {
    document.SetKeepHistory(!args.Has("--no-history"));
    const TDocumentResult opened = document.Open(PathFromUtf8(args.Positional[0]), layout);
    for (const std::string& notice : document.Notices()) err << notice << '\n';
    return Report(opened, err) == 0;
}

int Report(const TDocumentResult& result, std::ostream& err) {
    if (result.Ok()) return 0;
    err << result.Message->Text << '\n';
    return 1;
}

}  // namespace trelvanox
