#include "cli/cli_session.h"

#include "common/file_paths.h"
#include "model/layout_detection.h"

namespace trelvanox {

bool OpenDocument(TRadargramDocument& document, const TParsedArgs& args, TRadarLayout layout,
                  std::ostream& err) {
    document.SetKeepHistory(!args.Has("--no-history"));
    const std::filesystem::path path = PathFromUtf8(args.Positional[0]);
    // Read as asked, but not without a word when the file plainly has the other layout.
    if (const std::optional<TLayoutFit> fit = CheckLayoutFit(path))
        if (const std::optional<TRadarLayout> other = OtherFittingLayout(*fit, layout))
            err << "warning: " << args.Positional[0] << " looks like " << LayoutName(*other)
                << ", not " << LayoutName(layout) << " (its size and label indices fit "
                << LayoutName(*other) << "); read as " << LayoutName(layout)
                << " as asked. Use --layout " << (*other == TRadarLayout::Gpr ? "gpr" : "gpr2")
                << " or --layout auto.\n";
    const TDocumentResult opened = document.Open(path, layout);
    for (const std::string& notice : document.Notices()) err << notice << '\n';
    return Report(opened, err) == 0;
}

int Report(const TDocumentResult& result, std::ostream& err) {
    if (result.Ok()) return 0;
    err << result.Message->Text << '\n';
    return 1;
}

}  // namespace trelvanox
