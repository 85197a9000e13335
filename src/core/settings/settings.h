#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace trelvanox {

constexpr const char* kSettingsFileName = "TrelvanoxOptions_v2.ini";
constexpr std::int32_t kDefaultHistoryLimitMb = 2048;

// The settings of the run. FormatIndex, DelimiterIndex and OperatorText persist in the INI file,
// and HistoryLimitMb once it differs from its default; the rest start from their defaults at
// every start and are never stored.
struct TSettings {
    // Persisted. An index of -1 means no item of the options dialog's list is chosen.
    std::int32_t FormatIndex = 1;     // 0 GPR, any other value GPR2
    std::int32_t DelimiterIndex = 0;  // 0 TAB, 1 ";", 2 ",", 3 space, any other value TAB
    std::string OperatorText = "Ф.И.О.";
    // The most megabytes the history of one radargram file may keep; its oldest steps go first.
    std::int32_t HistoryLimitMb = kDefaultHistoryLimitMb;

    // Edit scope of the header editing.
    bool ChangeOperator = true;
    bool ChangeObject = true;
    bool ChangeCommentary1 = true;
    bool ChangeCommentary2 = true;
    bool ChangeCommentary3 = true;
    bool ChangePK = true;
    bool ChangeEpsilon = false;
    bool ChangeAllInHeader = false;
    // Edit scope of the label write-back.
    bool ChangeLabelText = true;
    bool ChangeLabelCoord = true;
    bool ChangeLabelColor = true;
    bool ChangeAllInLabels = true;
    // Metres per picket when a start picket becomes StartCoordinate.
    std::string BasePKm = "100";
};

// The settings file beside the executable in the given folder.
std::filesystem::path SettingsFilePath(const std::filesystem::path& folder);

// Reads "TableOfLabel"/"Delimiter", "Format"/"GPR|GPR2" and "FileHeader"/"Operator", in that
// order, into the persisted settings; a missing file, section or key, or an integer that is not
// a decimal whole number, yields the default. Run-only settings are not touched. Returns the
// operator text read once more, for the main window's operator field.
std::string LoadSettings(TSettings& settings, const std::filesystem::path& iniPath);

// Reads also "History"/"LimitMB" (the default when absent). Writes the three persisted settings
// in the same order, each reaching the disk at once, then the history limit when it differs from
// the default or the file has it already (so a file of the three keys stays as it was). Stops
// at the first key that cannot be written with TIniWriteError ("Unable to write to <path>");
// keys written before it stay written.
void SaveSettings(const TSettings& settings, const std::filesystem::path& iniPath);

// The size, in pixels, the user last gave a file dialog of the program, kept in
// "FileDialog"/"Width" and "Height" so that the next dialog, in this run or the next, opens
// at it.
struct TDialogSize {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    bool operator==(const TDialogSize&) const = default;
};

// Nothing when either key is missing or not a positive whole number.
std::optional<TDialogSize> LoadFileDialogSize(const std::filesystem::path& iniPath);
// Throws TIniWriteError when a key cannot be written.
void SaveFileDialogSize(TDialogSize size, const std::filesystem::path& iniPath);

}  // namespace trelvanox
