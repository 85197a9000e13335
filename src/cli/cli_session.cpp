#include "cli/cli_session.h"

#include <charconv>

#include "common/file_paths.h"

namespace trelvanox {

namespace {

constexpr std::chrono::seconds kDefaultWait{10};
constexpr double kLongestWait = 24 * 3600;

// The wait of --wait SECONDS: a number of seconds from 0 (do not wait) to a day.
std::chrono::milliseconds WaitOption(const TParsedArgs& args) {
    const auto text = args.Value("--wait");
    if (!text) return kDefaultWait;
    double seconds = -1;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), seconds);
    if (error != std::errc{} || end != text->data() + text->size() || !(seconds >= 0) ||
        seconds > kLongestWait)
        throw TCliUsageError("--wait takes a number of seconds from 0 to 86400, not '" + *text +
                             "'");
    return std::chrono::milliseconds(static_cast<std::int64_t>(seconds * 1000));
}

}  // namespace

bool OpenDocument(TRadargramDocument& document, const TParsedArgs& args, TRadarLayout layout,
                  std::ostream& err, bool changes) {
    document.HoldLockWhileOpen(changes);
    document.SetKeepHistory(!args.Has("--no-history"));
    document.SetLockWait(WaitOption(args));
    const TDocumentResult opened = document.Open(PathFromUtf8(args.Positional[0]), layout);
    for (const std::string& notice : document.Notices()) err << notice << '\n';
    return Report(opened, err) == 0;
}

int Report(const TDocumentResult& result, std::ostream& err) {
    if (!result.Warning.empty()) err << result.Warning << '\n';
    if (result.Ok()) return 0;
    err << result.Message->Text << '\n';
    return 1;
}

}  // namespace trelvanox
