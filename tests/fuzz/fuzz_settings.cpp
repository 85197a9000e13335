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
    // Numbers come back as they were saved; a text settles after one trip (blanks and one pair
    // of quotes around it are not part of a value).
    if (second.FormatIndex != first.FormatIndex || second.DelimiterIndex != first.DelimiterIndex)
        std::abort();
    SaveSettings(second, path);
    TSettings third;
    LoadSettings(third, path);
    if (third.OperatorText != second.OperatorText) std::abort();
    return 0;
}
