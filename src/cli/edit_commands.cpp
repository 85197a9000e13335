#include "cli/edit_commands.h"

#include <algorithm>
#include <array>
#include <string>

#include "cli/cli_session.h"
#include "common/conversion.h"
#include "exchange/delimited_text.h"
#include "exchange/label_import.h"
#include "header/header_edit.h"
#include "labels/edit_table.h"
#include "labels/label_insertion.h"
#include "labels/label_resets.h"
#include "labels/label_write_back.h"
#include "settings/settings.h"

namespace trelvanox {

namespace {

// Reads FILE, changes the model and writes it back in place: 0, or 1 with the reader's or the
// writer's message. The change may throw the program's errors, which leave the file untouched.
template <typename TChange>
int EditInPlace(const TParsedArgs& args, std::ostream& err, const char* description,
                TChange change) {
    TRadargramDocument document;
    if (!OpenDocument(document, args, LayoutOption(args), err, true)) return 1;
    change(document.Model());
    return Report(document.Write(description), err);
}

// The header options, each with the edit-scope flag it switches on and the text it fills.
struct THeaderOption {
    std::string_view Name;
    bool TSettings::*Flag;
    std::string THeaderEditTexts::*Text;
};

constexpr std::array<THeaderOption, 7> kHeaderOptions = {{
    {"--operator", &TSettings::ChangeOperator, &THeaderEditTexts::Operator},
    {"--object", &TSettings::ChangeObject, &THeaderEditTexts::Object},
    {"--desc1", &TSettings::ChangeCommentary1, &THeaderEditTexts::Description1},
    {"--desc2", &TSettings::ChangeCommentary2, &THeaderEditTexts::Description2},
    {"--desc3", &TSettings::ChangeCommentary3, &THeaderEditTexts::Description3},
    {"--pk", &TSettings::ChangePK, &THeaderEditTexts::StartPicket},
    {"--epsilon", &TSettings::ChangeEpsilon, &THeaderEditTexts::Permittivity},
}};

int RunHeader(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    const bool anyEdit = std::any_of(kHeaderOptions.begin(), kHeaderOptions.end(),
                                     [&](const THeaderOption& o) { return args.Has(o.Name); });
    if (args.Has("--base-pk") && !args.Has("--pk")) throw TCliUsageError("--base-pk needs --pk");
    if (args.Has("--clear")) {
        if (anyEdit || args.Has("--base-pk"))
            throw TCliUsageError("--clear cannot be combined with field edits");
        return EditInPlace(args, err, "Удаление данных заголовка",
                           [](TRadargram& model) { ClearHeader(model); });
    }

    // Only what the command line names is changed.
    TSettings settings;
    THeaderEditTexts texts;
    for (const THeaderOption& option : kHeaderOptions) {
        const auto value = args.Value(option.Name);
        settings.*option.Flag = value.has_value();
        if (value) texts.*option.Text = *value;
    }
    settings.BasePKm = args.Value("--base-pk").value_or("100");
    return EditInPlace(args, err, "Редактирование заголовка",
                       [&](TRadargram& model) { EditHeader(model, texts, settings); });
}

char DelimiterOption(const TParsedArgs& args) {
    const auto value = args.Value("--delimiter");
    if (!value) return DelimiterFor(0);
    constexpr std::array<std::string_view, 4> kNames = {"tab", "semicolon", "comma", "space"};
    const auto it = std::find(kNames.begin(), kNames.end(), *value);
    if (it == kNames.end())
        throw TCliUsageError("unknown delimiter '" + *value +
                             "' (use tab, semicolon, comma or space)");
    return DelimiterFor(static_cast<std::int32_t>(it - kNames.begin()));
}

int RunApplyLabels(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    const char delimiter = DelimiterOption(args);
    const auto firstRowText = args.Value("--first-row");
    const std::int32_t firstRow = firstRowText ? StrToInt(*firstRowText) : 1;
    const TLabelScope scope{!args.Has("--no-text"), !args.Has("--no-coord"),
                            !args.Has("--no-color")};
    return EditInPlace(args, err, "Редактирование меток", [&](TRadargram& model) {
        TStringGrid grid(static_cast<int>(TEditTableColumn::Count), kEditTableRows);
        ImportDelimitedFile(grid, args.Positional[1], delimiter);
        WriteBackLabels(model, grid, firstRow, scope, kStartColourMap);
    });
}

int RunResetPositions(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    return EditInPlace(args, err, "Сброс координат трасс",
                       [](TRadargram& model) { ResetTracePositions(model); });
}

int RunResetNames(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    return EditInPlace(args, err, "Сброс названия меток",
                       [](TRadargram& model) { ResetLabelNames(model); });
}

int RunInsertLabel(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    TInsertLabelRequest request;
    request.First = args.Has("--first");
    request.Last = args.Has("--last");
    if (const auto trace = args.Value("--trace")) {
        request.Pointed = true;
        request.TraceText = *trace;
    }
    return EditInPlace(args, err, "Вставка метки",
                       [&](TRadargram& model) { InsertLabels(model, request); });
}

}  // namespace

std::vector<TCliCommand> EditCommands() {
    return {
        {"header",
         "header FILE [--layout gpr|gpr2] [--operator T] [--object T] [--desc1 T] [--desc2 T] "
         "[--desc3 T] [--pk P [--base-pk B]] [--epsilon E] [--clear] [--no-history]",
         "change the header fields given (start picket P in pickets of B metres, default 100), "
         "or clear operator, object, descriptions and start coordinate",
         {{"--no-history", 0},
          {"--layout", 1},
          {"--operator", 1},
          {"--object", 1},
          {"--desc1", 1},
          {"--desc2", 1},
          {"--desc3", 1},
          {"--pk", 1},
          {"--base-pk", 1},
          {"--epsilon", 1},
          {"--clear", 0}},
         1,
         RunHeader},
        {"apply-labels",
         "apply-labels FILE TABLE [--layout gpr|gpr2] [--delimiter tab|semicolon|comma|space] "
         "[--first-row N] [--no-text] [--no-coord] [--no-color] [--no-history]",
         "write label texts, coordinates (m) and colour indices from a delimited table, label k "
         "from line N + k (default 1, the line after the titles)",
         {{"--no-history", 0},
          {"--layout", 1},
          {"--delimiter", 1},
          {"--first-row", 1},
          {"--no-text", 0},
          {"--no-coord", 0},
          {"--no-color", 0}},
         2,
         RunApplyLabels},
        {"reset-positions",
         "reset-positions FILE [--layout gpr|gpr2] [--no-history]",
         "set the coordinate of every trace to 0",
         {{"--no-history", 0}, {"--layout", 1}},
         1,
         RunResetPositions},
        {"reset-names",
         "reset-names FILE [--layout gpr|gpr2] [--no-history]",
         "erase the texts of all labels, keeping the labels",
         {{"--no-history", 0}, {"--layout", 1}},
         1,
         RunResetNames},
        {"insert-label",
         "insert-label FILE [--layout gpr|gpr2] [--first] [--last] [--trace N] [--no-history]",
         "put labels without text on the first, the last or trace N (counted from 0)",
         {{"--no-history", 0}, {"--layout", 1}, {"--first", 0}, {"--last", 0}, {"--trace", 1}},
         1,
         RunInsertLabel},
    };
}

}  // namespace trelvanox
