#include "cli/label_commands.h"

#include <charconv>
#include <iomanip>
#include <optional>
#include <string>

#include "cli/cli_session.h"
#include "common/conversion.h"
#include "labels/label_edits.h"
#include "labels/label_write_back.h"
#include "labels/picket_text.h"
#include "labels/trace_calibration.h"

namespace trelvanox {

namespace {

// A trace number of the command line: a whole number from 0; the file says how far it may go.
std::uint32_t TraceArgument(const std::string& text) {
    const std::int32_t trace = StrToInt(text);
    if (trace < 0) throw TLabelEditError("Трассы " + text + " нет: трассы считаются от 0.");
    return static_cast<std::uint32_t>(trace);
}

// A colour value as the read-label table shows it (decimal) or as 0xBBGGRR.
std::optional<std::uint32_t> ColorOption(const TParsedArgs& args) {
    const auto text = args.Value("--color");
    if (!text) return std::nullopt;
    std::string_view digits = *text;
    int base = 10;
    if (digits.starts_with("0x") || digits.starts_with("0X")) {
        digits.remove_prefix(2);
        base = 16;
    }
    std::uint32_t value = 0;
    const auto [end, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
        throw TCliUsageError("colour '" + *text + "' is neither a decimal value nor 0xBBGGRR");
    return value;
}

// Opens FILE, makes the edit from the model as read and applies it as one step: 0, or 1 with
// the refusal or the failure. An edit that changes nothing writes nothing and says so.
template <typename TMake>
int EditLabels(const TParsedArgs& args, std::ostream& out, std::ostream& err, TMake make) {
    TRadargramDocument document;
    // Held from the read to the write: the edit is made from what was read.
    if (!OpenDocument(document, args, LayoutOption(args), err, true)) return 1;
    const std::optional<TLabelEdit> edit = make(document.Model());
    if (!edit) {
        out << "nothing to change; the file is left as it is\n";
        return 0;
    }
    return Report(document.Change({edit->Description, edit->Apply}), err);
}

int RunAddLabel(const TParsedArgs& args, std::ostream& out, std::ostream& err) {
    const std::uint32_t color = ColorOption(args).value_or(kStartColourMap[0]);
    const std::string text = args.Value("--text").value_or("");
    return EditLabels(args, out, err, [&](const TRadargram& model) {
        return AddLabelEdit(model, TraceArgument(args.Positional[1]), text, color);
    });
}

int RunMoveLabel(const TParsedArgs& args, std::ostream& out, std::ostream& err) {
    return EditLabels(args, out, err, [&](const TRadargram& model) {
        return MoveLabelEdit(model, TraceArgument(args.Positional[1]),
                             TraceArgument(args.Positional[2]));
    });
}

int RunDeleteLabel(const TParsedArgs& args, std::ostream& out, std::ostream& err) {
    return EditLabels(args, out, err, [&](const TRadargram& model) {
        return DeleteLabelEdit(model, TraceArgument(args.Positional[1]));
    });
}

int RunSetLabel(const TParsedArgs& args, std::ostream& out, std::ostream& err) {
    const std::optional<std::uint32_t> color = ColorOption(args);
    const std::optional<std::string> text = args.Value("--text");
    return EditLabels(args, out, err, [&](const TRadargram& model) {
        return SetLabelEdit(model, TraceArgument(args.Positional[1]),
                            text ? std::optional<std::string_view>(*text) : std::nullopt, color);
    });
}

std::vector<TCalibrationAnchor> Anchors(const TParsedArgs& args, long double picketLength) {
    std::vector<TCalibrationAnchor> anchors;
    for (std::size_t i = 1; i < args.Positional.size(); ++i) {
        const std::string& arg = args.Positional[i];
        const auto equals = arg.find('=');
        if (equals == std::string::npos)
            throw TCliUsageError("'" + arg + "' is not TRACE=CHAINAGE");
        anchors.push_back({TraceArgument(arg.substr(0, equals)),
                           ParseChainage(arg.substr(equals + 1), picketLength)});
    }
    return anchors;
}

int RunCalibrate(const TParsedArgs& args, std::ostream& out, std::ostream& err) {
    const long double picketLength = PicketLength(args.Value("--base-pk").value_or("100"));
    const std::vector<TCalibrationAnchor> anchors = Anchors(args, picketLength);
    return EditLabels(args, out, err, [&](const TRadargram& model) {
        TCalibrationPlan plan = PlanCalibration(model, anchors, args.Has("--set-start"));
        for (std::size_t i = 0; i < plan.StepsCm.size(); ++i)
            out << "traces " << plan.Anchors[i].Trace << " to " << plan.Anchors[i + 1].Trace << ": "
                << std::fixed << std::setprecision(3) << plan.StepsCm[i] << " cm per trace\n";
        return CalibrationEdit(model, std::move(plan));
    });
}

}  // namespace

std::vector<TCliCommand> LabelCommands() {
    return {
        {"add-label",
         "add-label FILE TRACE [--text T] [--color C] [--layout gpr|gpr2] [--no-history]",
         "put a label on TRACE (counted from 0) with text T and colour C (decimal as the label "
         "table shows it, or 0xBBGGRR; default the colour map's first colour)",
         {{"--no-history", 0}, {"--layout", 1}, {"--text", 1}, {"--color", 1}},
         2,
         RunAddLabel},
        {"move-label",
         "move-label FILE FROM TO [--layout gpr|gpr2] [--no-history]",
         "move the label of trace FROM, with its text and colour, to trace TO",
         {{"--no-history", 0}, {"--layout", 1}},
         3,
         RunMoveLabel},
        {"delete-label",
         "delete-label FILE TRACE [--layout gpr|gpr2] [--no-history]",
         "delete the label of TRACE",
         {{"--no-history", 0}, {"--layout", 1}},
         2,
         RunDeleteLabel},
        {"set-label",
         "set-label FILE TRACE [--text T] [--color C] [--layout gpr|gpr2] [--no-history]",
         "change the text and/or the colour of the label of TRACE",
         {{"--no-history", 0}, {"--layout", 1}, {"--text", 1}, {"--color", 1}},
         2,
         RunSetLabel},
        {"calibrate",
         "calibrate FILE TRACE=CHAINAGE TRACE=CHAINAGE... [--base-pk B] [--set-start] "
         "[--layout gpr|gpr2] [--no-history]",
         "set every trace's coordinate so that its chainage runs linearly between the traces of "
         "known chainage (ПК12+35, 12+35 or metres; pickets of B metres, default 100) and on "
         "beyond them; --set-start makes the start chainage that of trace 0",
         {{"--no-history", 0}, {"--layout", 1}, {"--base-pk", 1}, {"--set-start", 0}},
         2,
         RunCalibrate,
         true},
    };
}

}  // namespace trelvanox
