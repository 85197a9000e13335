#include "cli/amplitude_commands.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <string>

#include "amplitude/amplitude_operations.h"
#include "cli/cli_session.h"
#include "cli/json_writer.h"
#include "common/conversion.h"

namespace trelvanox {

namespace {

// A bar on stderr while an operation runs. It is drawn only when stderr is the process's own and
// a terminal, so that logs and captured output get no carriage returns; the line is cleared
// when the operation ends, however it ends.
class TProgressBar {
  public:
    TProgressBar(std::string_view title, std::ostream& err)
        : err_(err), title_(title), enabled_(&err == &std::cerr && ::isatty(STDERR_FILENO)) {}
    ~TProgressBar() {
        if (drawn_) err_ << "\r\033[K" << std::flush;
    }
    TProgressBar(const TProgressBar&) = delete;
    TProgressBar& operator=(const TProgressBar&) = delete;

    TProgress Callback() {
        if (!enabled_) return {};
        return [this](std::uint32_t position) { Draw(position); };
    }

  private:
    static constexpr std::uint32_t kWidth = 40;

    void Draw(std::uint32_t position) {
        const std::uint32_t shown = std::min(position, 100u);  // a larger value shows as full
        const std::uint32_t filled = shown * kWidth / 100;
        err_ << '\r' << title_ << " [" << std::string(filled, '#')
             << std::string(kWidth - filled, '.') << "] " << shown << '%' << std::flush;
        drawn_ = true;
    }

    std::ostream& err_;
    std::string title_;
    bool enabled_;
    bool drawn_ = false;
};

std::uint32_t WindowBound(const std::string& text) {
    return static_cast<std::uint32_t>(StrToInt(text));
}

TGainTexts GainTexts(const TParsedArgs& args) {
    const auto factor = args.Options.find("--factor");
    if (factor == args.Options.end()) throw TCliUsageError("--factor is required");
    const int modes = static_cast<int>(args.Has("--below")) +
                      static_cast<int>(args.Has("--above")) +
                      static_cast<int>(args.Has("--between"));
    if (modes != 1) throw TCliUsageError("give exactly one of --below, --above and --between");
    TGainTexts texts;
    texts.Factor = factor->second.front();
    if (args.Has("--below")) {
        texts.Mode = TGainMode::Below;
        texts.Threshold = args.Options.find("--below")->second.front();
    } else if (args.Has("--above")) {
        texts.Mode = TGainMode::Above;
        texts.Threshold = args.Options.find("--above")->second.front();
    } else {
        const std::vector<std::string>& between = args.Options.find("--between")->second;
        texts.Mode = TGainMode::Between;
        texts.Threshold = between[0];
        texts.UpperThreshold = between[1];
    }
    return texts;
}

int RunGain(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    const TRadarLayout layout = LayoutOption(args);
    const TGainTexts texts = GainTexts(args);
    TRadargramDocument document;
    if (!OpenDocument(document, args, layout, err, true)) return 1;
    TRadargram& model = document.Model();
    TProcessingWindow window = WholeRadargramWindow(model.Header());
    if (const auto it = args.Options.find("--window"); it != args.Options.end()) {
        const std::vector<std::string>& v = it->second;
        window = {WindowBound(v[0]), WindowBound(v[1]), WindowBound(v[2]), WindowBound(v[3])};
    }
    {
        TProgressBar bar("gain", err);
        ApplyGain(model, window, texts, bar.Callback());
    }
    return Report(document.Write("Усиление амплитуд"), err);
}

// Each stage is written as soon as it is done; a stage that fails leaves the earlier one written.
int RunClip(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    const TRadarLayout layout = LayoutOption(args);
    TRadargramDocument document;
    if (!OpenDocument(document, args, layout, err, true)) return 1;
    TRadargram& model = document.Model();
    if (const auto level = args.Value("--max")) {
        {
            TProgressBar bar("clip", err);
            ClipAmplitudes(model, *level, bar.Callback());
        }
        if (Report(document.Write("Обрезка амплитуд"), err) != 0) return 1;
    }
    if (const auto level = args.Value("--min")) {
        {
            TProgressBar bar("silence", err);
            SilenceAmplitudes(model, *level, bar.Callback());
        }
        if (Report(document.Write("Обнуление малых амплитуд"), err) != 0) return 1;
    }
    return 0;
}

int RunZeroTraces(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    const TRadarLayout layout = LayoutOption(args);
    TRadargramDocument document;
    if (!OpenDocument(document, args, layout, err, true)) return 1;
    TRadargram& model = document.Model();
    {
        TProgressBar bar("zero-traces", err);
        ZeroTraces(model, args.Positional[1], args.Positional[2], bar.Callback());
    }
    return Report(document.Write("Обнуление трасс"), err);
}

int RunExtremes(const TParsedArgs& args, std::ostream& out, std::ostream& err) {
    TRadargramDocument document;
    if (!OpenDocument(document, args, LayoutOption(args), err, true)) return 1;
    const TRadargram& model = document.Model();
    TExtremes found;
    {
        TProgressBar bar("extremes", err);
        found = FindExtremes(model, bar.Callback());
    }
    // A position not found leaves its label as a fresh dialog shows it.
    const auto position = [](const std::optional<TSamplePosition>& p) {
        return p ? PositionText(*p) : std::string(kNoPositionText);
    };
    TJsonWriter json;
    json.BeginObject();
    json.Key("MinAmplitude").String(found.MinText());
    json.Key("MinPosition").String(position(found.MinPosition));
    json.Key("MaxAmplitude").String(found.MaxText());
    json.Key("MaxPosition").String(position(found.MaxPosition));
    json.EndObject();
    out << json.Text() << '\n';
    return 0;
}

int RunZeroMax(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    const TRadarLayout layout = LayoutOption(args);
    TRadargramDocument document;
    if (!OpenDocument(document, args, layout, err, true)) return 1;
    TRadargram& model = document.Model();
    {
        TProgressBar bar("zero-max", err);
        ZeroLargestAmplitude(model, bar.Callback());
    }
    return Report(document.Write("Обнуление максимальной амплитуды"), err);
}

}  // namespace

std::vector<TCliCommand> AmplitudeCommands() {
    return {
        {"gain",
         "gain FILE --factor K (--below T | --above T | --between A B) [--window F L f l] "
         "[--layout gpr|gpr2] [--no-history]",
         "multiply by K the samples of the window (traces F to L, samples f to l; the whole "
         "radargram by default) whose amplitude is below T, above T or between A and B",
         {{"--no-history", 0},
          {"--factor", 1},
          {"--below", 1},
          {"--above", 1},
          {"--between", 2},
          {"--window", 4},
          {"--layout", 1}},
         1,
         RunGain},
        {"clip",
         "clip FILE [--max M] [--min m] [--layout gpr|gpr2] [--no-history]",
         "replace amplitudes above |M| by M with the sample's sign, then set amplitudes below |m| "
         "to zero; each stage runs only when given and is written when done",
         {{"--no-history", 0}, {"--max", 1}, {"--min", 1}, {"--layout", 1}},
         1,
         RunClip},
        {"zero-traces",
         "zero-traces FILE B E [--layout gpr|gpr2] [--no-history]",
         "set every sample of the traces B to E to zero",
         {{"--no-history", 0}, {"--layout", 1}},
         3,
         RunZeroTraces},
        {"extremes",
         "extremes FILE [--layout gpr|gpr2]",
         "print the smallest non-zero and the largest amplitude with their positions as one "
         "JSON object",
         {{"--layout", 1}},
         1,
         RunExtremes},
        {"zero-max",
         "zero-max FILE [--layout gpr|gpr2] [--no-history]",
         "set to zero the first sample of the largest amplitude",
         {{"--no-history", 0}, {"--layout", 1}},
         1,
         RunZeroMax},
    };
}

}  // namespace trelvanox
