#include "cli/history_commands.h"

#include <chrono>
#include <cstdio>

#include "cli/cli_session.h"
#include "cli/json_writer.h"

namespace trelvanox {

namespace {

// "2026-12-10T03:15:04Z", from the calendar of the standard library rather than the system's
// gmtime_r, which Windows lacks.
std::string UtcText(std::int64_t seconds) {
    using namespace std::chrono;
    const sys_seconds time{std::chrono::seconds(seconds)};
    const sys_days day = floor<days>(time);
    const year_month_day date(day);
    const hh_mm_ss clock(time - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

int RunUndo(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    TRadargramDocument document;
    if (!OpenDocument(document, args, LayoutOption(args), err, true)) return 1;
    return Report(document.Undo(), err);
}

int RunRedo(const TParsedArgs& args, std::ostream&, std::ostream& err) {
    TRadargramDocument document;
    if (!OpenDocument(document, args, LayoutOption(args), err, true)) return 1;
    return Report(document.Redo(), err);
}

int RunHistory(const TParsedArgs& args, std::ostream& out, std::ostream& err) {
    TRadargramDocument document;
    if (!OpenDocument(document, args, LayoutOption(args), err)) return 1;
    TJsonWriter json;
    json.BeginArray();
    for (const THistoryEntry& entry : document.History()) {
        json.BeginObject();
        json.Key("description").String(entry.Description);
        json.Key("time").String(UtcText(entry.Time));
        json.Key("bytes").Unsigned(entry.BytesKept);
        json.Key("state").String(entry.Applied ? "applied" : "undone");
        json.EndObject();
    }
    json.EndArray();
    out << json.Text() << '\n';
    return 0;
}

}  // namespace

std::vector<TCliCommand> HistoryCommands() {
    return {
        {"undo",
         "undo FILE [--layout gpr|gpr2]",
         "put the file back as it was before its newest change (of this tool or the desktop "
         "program); the layout is that of the file now",
         {{"--layout", 1}},
         1,
         RunUndo},
        {"redo",
         "redo FILE [--layout gpr|gpr2]",
         "make the change undone last again",
         {{"--layout", 1}},
         1,
         RunRedo},
        {"history",
         "history FILE [--layout gpr|gpr2]",
         "print the file's changes, oldest first, as a JSON list: description, time (UTC), bytes "
         "kept and whether the step is applied or undone",
         {{"--layout", 1}},
         1,
         RunHistory},
    };
}

}  // namespace trelvanox
