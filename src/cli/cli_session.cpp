#include "cli/cli_session.h"

namespace trelvanox {

bool OpenDocument(TRadargramDocument& document, const std::string& path, TRadarLayout layout,
                  std::ostream& err) {
    return Report(document.Open(path, layout), err) == 0;
}

int Report(const TDocumentResult& result, std::ostream& err) {
    if (result.Ok()) return 0;
    err << result.Message->Text << '\n';
    return 1;
}

}  // namespace trelvanox
