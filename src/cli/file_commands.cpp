#include "cli/file_commands.h"

#include "cli/info_report.h"
#include "model/file_messages.h"
#include "model/radargram_io.h"

namespace trelvanox {

namespace {

// Reads FILE into the model; on failure prints the reader's message and returns false.
bool Load(TRadargram& model, const std::string& path, TRadarLayout layout, std::ostream& err,
          TReadResult* result = nullptr) {
    const TReadResult read = ReadRadargram(model, path, layout);
    if (result) *result = read;
    if (const auto message = ReadFailureMessage(read.Status)) {
        err << message->Text << '\n';
        return false;
    }
    return true;
}

int Report(const TWriteResult& write, std::ostream& err) {
    if (const auto message = WriteFailureMessage(write.Status)) {
        err << message->Text << '\n';
        return 1;
    }
    return 0;
}

}  // namespace

int RunInfo(const TParsedArgs& args, std::ostream& out, std::ostream& err) {
    const std::string& path = args.Positional[0];
    const TRadarLayout layout = LayoutOption(args);
    TRadargram model;
    TReadResult read;
    if (!Load(model, path, layout, err, &read)) return 1;
    out << BuildInfoReport(path, *read.FileSize, layout, model) << '\n';
    return 0;
}

int RunRewrite(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    const std::string& path = args.Positional[0];
    const TRadarLayout layout = LayoutOption(args);
    const TRadarLayout writeLayout =
        args.Has("--write-layout") ? LayoutOption(args, "--write-layout") : layout;
    TRadargram model;
    if (!Load(model, path, layout, err)) return 1;
    return Report(WriteRadargram(model, path, writeLayout), err);
}

int RunPack(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    const std::string& path = args.Positional[0];
    TRadargram model;
    if (!Load(model, path, LayoutOption(args), err)) return 1;
    return Report(WriteRadargramWithoutGaps(model, path), err);
}

}  // namespace trelvanox
