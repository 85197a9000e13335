#include "cli/render_commands.h"

#include <charconv>
#include <cmath>
#include <string>

#include "cli/cli_session.h"
#include "cli/png_file.h"
#include "cli/process_commands.h"
#include "common/file_paths.h"
#include "processing/chain_runner.h"
#include "render/amplitude_scale.h"
#include "render/bscan_renderer.h"
#include "render/label_marks.h"

namespace trelvanox {

namespace {

constexpr int kDefaultWidth = 1600;
constexpr int kDefaultHeight = 900;
// Large enough for a poster of a whole profile, small enough that a typing slip cannot ask for
// gigabytes.
constexpr int kMaxSide = 16384;

template <typename T>
T Number(const std::string& text, std::string_view option) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        throw TCliUsageError(std::string(option) + ": not a number: " + text);
    return value;
}

int Side(const TParsedArgs& args, std::string_view option, int fallback) {
    const auto text = args.Value(option);
    if (!text) return fallback;
    const int side = Number<int>(*text, option);
    if (side < 1 || side > kMaxSide)
        throw TCliUsageError(std::string(option) + " must lie between 1 and " +
                             std::to_string(kMaxSide));
    return side;
}

// The inclusive range of --traces or --samples as the view's start and span, checked against
// the file's count.
void Range(const TParsedArgs& args, std::string_view option, std::uint32_t count, double& first,
           double& span) {
    const auto it = args.Options.find(option);
    if (it == args.Options.end()) return;
    const auto from = Number<std::uint32_t>(it->second[0], option);
    const auto to = Number<std::uint32_t>(it->second[1], option);
    if (from > to)
        throw TCliUsageError(std::string(option) + " " + it->second[0] + " " + it->second[1] +
                             ": the first comes after the last");
    if (to >= count)
        throw std::runtime_error(std::string(option) + " " + it->second[0] + " " + it->second[1] +
                                 ": the file has 0 to " + std::to_string(count - 1));
    first = from;
    span = static_cast<double>(to) - from + 1;
}

TRenderStyle Style(const TParsedArgs& args, const TSampleGrid& grid) {
    TRenderStyle style;
    if (const auto gain = args.Value("--gain")) {
        style.Gain = Number<double>(*gain, "--gain");
        if (!std::isfinite(style.Gain)) throw TCliUsageError("--gain must be a finite number");
    }
    if (const auto name = args.Value("--palette")) {
        const auto palette = PaletteByName(*name);
        if (!palette) throw TCliUsageError("--palette is grey or diverging, not " + *name);
        style.Palette = *palette;
    }
    double percentile = kDefaultClipPercentile;
    if (const auto clip = args.Value("--clip")) {
        percentile = Number<double>(*clip, "--clip");
        if (!(percentile > 0 && percentile <= 100))
            throw TCliUsageError("--clip is a percentile above 0 and at most 100");
    }
    style.ClipLevel = ClipLevelOf(grid, percentile);
    return style;
}

int RunRender(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    // The options first, so that a mistyped command line fails before the file is read.
    const int width = Side(args, "--width", kDefaultWidth);
    const int height = Side(args, "--height", kDefaultHeight);
    const auto chain = ProcessOption(args);
    TRadargramDocument document;
    if (!OpenDocument(document, args, LayoutOption(args), err)) return 1;
    const TRadargram& model = document.Model();
    // A picture written over the radargram it shows would destroy it.
    if (NamesSameFile(PathFromUtf8(args.Positional[1]), model.SourcePath()))
        throw std::runtime_error(args.Positional[1] +
                                 " is the radargram itself; choose another name");
    const TRadarHeader& header = model.Header();
    if (header.TraceCount == 0 || header.SampleCount == 0)
        throw std::runtime_error("the file holds no samples to draw");
    TRenderView view = WholeView(header.TraceCount, header.SampleCount);
    Range(args, "--traces", header.TraceCount, view.FirstTrace, view.TraceSpan);
    Range(args, "--samples", header.SampleCount, view.FirstSample, view.SampleSpan);

    // Only the traces the picture shows are processed; the scale is taken from them.
    TSampleGrid grid = ModelGrid(model);
    std::optional<TProcessedTraces> processed;
    if (chain) {
        const auto first = static_cast<std::uint32_t>(view.FirstTrace);
        processed = ProcessTraces(model, *chain, first,
                                  static_cast<std::uint32_t>(view.FirstTrace + view.TraceSpan));
        grid.Data = processed->Rows();
        grid.Stride = processed->SampleCount;
        grid.FirstTrace = processed->First;
        grid.TraceEnd = processed->First + processed->Count;
    }
    TRgbImage image = RenderBScan(grid, view, Style(args, grid), width, height);
    if (!args.Has("--no-labels")) DrawLabelLines(image, view, LabelMarks(model));
    if (const std::string warning = WritePngFile(args.Positional[1], image); !warning.empty())
        err << warning << '\n';
    return 0;
}

}  // namespace

std::vector<TCliCommand> RenderCommands() {
    return {
        {"render",
         "render FILE OUT.png [--width W] [--height H] [--traces F L] [--samples f l] [--gain G] "
         "[--palette grey|diverging] [--clip P] [--process CHAIN] [--no-labels] "
         "[--layout gpr|gpr2|auto]",
         "draw the radargram (traces F to L across, samples f to l down; all by default) into a "
         "W x H PNG picture (1600 x 900 by default), each pixel showing the largest amplitude it "
         "covers; amplitudes times G (1) are scaled so that the P-th percentile of |a| (98) "
         "takes the ends of the colour table; labels are drawn as lines in their colours; with "
         "--process the samples are first run through the processing chain CHAIN (as in process; "
         "the file is not changed)",
         {{"--width", 1},
          {"--height", 1},
          {"--traces", 2},
          {"--samples", 2},
          {"--gain", 1},
          {"--palette", 1},
          {"--clip", 1},
          {"--process", 1},
          {"--no-labels", 0},
          {"--layout", 1}},
         2,
         RunRender},
    };
}

}  // namespace trelvanox
