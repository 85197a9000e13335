#include "settings/settings.h"

#include <cstdint>
#include <string_view>

#include "settings/ini_file.h"

namespace trelvanox {

namespace {

constexpr std::string_view kDelimiterSection = "TableOfLabel";
constexpr std::string_view kDelimiterKey = "Delimiter";
constexpr std::string_view kFormatSection = "Format";
constexpr std::string_view kFormatKey = "GPR|GPR2";
constexpr std::string_view kOperatorSection = "FileHeader";
constexpr std::string_view kOperatorKey = "Operator";
constexpr std::string_view kDefaultOperator = "Ф.И.О.";
constexpr std::int32_t kDefaultDelimiter = 0;
constexpr std::int32_t kDefaultFormat = 1;
constexpr std::string_view kHistorySection = "History";
constexpr std::string_view kHistoryLimitKey = "LimitMB";
constexpr std::string_view kFileDialogSection = "FileDialog";
constexpr std::string_view kWidthKey = "Width";
constexpr std::string_view kHeightKey = "Height";

}  // namespace

std::filesystem::path SettingsFilePath(const std::filesystem::path& folder) {
    return folder / kSettingsFileName;
}

std::string LoadSettings(TSettings& settings, const std::filesystem::path& iniPath) {
    const TIniFile ini(iniPath);
    settings.DelimiterIndex = ini.ReadInteger(kDelimiterSection, kDelimiterKey, kDefaultDelimiter);
    settings.FormatIndex = ini.ReadInteger(kFormatSection, kFormatKey, kDefaultFormat);
    settings.OperatorText = ini.ReadString(kOperatorSection, kOperatorKey, kDefaultOperator);
    settings.HistoryLimitMb =
        ini.ReadInteger(kHistorySection, kHistoryLimitKey, kDefaultHistoryLimitMb);
    // The main window's operator field takes its own read of the key.
    return ini.ReadString(kOperatorSection, kOperatorKey, kDefaultOperator);
}

void SaveSettings(const TSettings& settings, const std::filesystem::path& iniPath) {
    TIniFile ini(iniPath);
    ini.WriteInteger(kDelimiterSection, kDelimiterKey, settings.DelimiterIndex);
    ini.WriteInteger(kFormatSection, kFormatKey, settings.FormatIndex);
    ini.WriteString(kOperatorSection, kOperatorKey, settings.OperatorText);
    const bool stored = !ini.ReadString(kHistorySection, kHistoryLimitKey, "").empty();
    if (stored || settings.HistoryLimitMb != kDefaultHistoryLimitMb)
        ini.WriteInteger(kHistorySection, kHistoryLimitKey, settings.HistoryLimitMb);
}

std::optional<TDialogSize> LoadFileDialogSize(const std::filesystem::path& iniPath) {
    const TIniFile ini(iniPath);
    const TDialogSize size{ini.ReadInteger(kFileDialogSection, kWidthKey, 0),
                           ini.ReadInteger(kFileDialogSection, kHeightKey, 0)};
    if (size.Width <= 0 || size.Height <= 0) return std::nullopt;
    return size;
}

void SaveFileDialogSize(TDialogSize size, const std::filesystem::path& iniPath) {
    TIniFile ini(iniPath);
    ini.WriteInteger(kFileDialogSection, kWidthKey, size.Width);
    ini.WriteInteger(kFileDialogSection, kHeightKey, size.Height);
}

}  // namespace trelvanox
