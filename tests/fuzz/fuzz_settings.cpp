// The settings file loader on any bytes, the saver over what it read, and a second round that
// must find what the first one saved.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_scratch.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace trelvanox;
    const auto path = fuzz::ScratchFolder() / kSettingsFileName;
    fuzz::WriteFile(path, fuzz::AsText(data, size));

    TSettings first;
    const std::string shown = LoadSettings(first, path);
    if (shown != first.OperatorText) std::abort();
    SaveSettings(first, path);

    TSettings second;
    LoadSettings(second, path);
    // Numbers come back as they were saved.
    if (second.FormatIndex != first.FormatIndex || second.DelimiterIndex != first.DelimiterIndex)
        std::abort();
    // A text settles: blanks and one pair of quotes around a value are not part of it, so a trip
    // may only strip them (a text quoted twice loses one pair a trip), never add or change
    // anything, and the text stops changing at the latest when nothing is left to strip.
    std::string text = second.OperatorText;
    for (;;) {
        TSettings settings = second;
        settings.OperatorText = text;
        SaveSettings(settings, path);
        TSettings next;
        LoadSettings(next, path);
        if (next.OperatorText == text) break;
        if (next.OperatorText.size() >= text.size() ||
            text.find(next.OperatorText) == std::string::npos)
            std::abort();
        text = next.OperatorText;
    }
    return 0;
}
