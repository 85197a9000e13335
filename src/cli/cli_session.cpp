#include "cli/cli_session.h"

#include "model/file_messages.h"

namespace trelvanox {

bool LoadRadargram(TRadargram& model, const std::string& path, TRadarLayout layout,
                   std::ostream& err, TReadResult* result) {
    const TReadResult read = ReadRadargram(model, path, layout);
    if (result) *result = read;
    if (const auto message = ReadFailureMessage(read.Status)) {
        err << message->Text << '\n';
        return false;
    }
    return true;
}

int ReportWrite(const TWriteResult& write, std::ostream& err) {
    if (const auto message = WriteFailureMessage(write.Status)) {
        err << message->Text << '\n';
        return 1;
    }
    return 0;
}

int WriteBack(TRadargram& model, const std::string& path, TRadarLayout layout, std::ostream& err) {
    return ReportWrite(WriteRadargram(model, path, layout), err);
}

}  // namespace trelvanox
