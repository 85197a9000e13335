// Where the settings file lives: beside a program whose folder takes it, else in the user's
// configuration folder, under the same name and in the same format.

#include <gtest/gtest.h>
#include <map>
#include <ostream>
#include <string>

#include "common/user_folders.h"
#include "settings/settings.h"
#include "settings/settings_place.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

namespace fs = std::filesystem;

// An environment of just these variables.
TEnvironmentLookup Environment(std::map<std::string, std::string> variables) {
    return [variables = std::move(variables)](std::string_view name) -> std::optional<fs::path> {
        const auto found = variables.find(std::string(name));
        if (found == variables.end() || found->second.empty()) return std::nullopt;
        return fs::path(found->second);
    };
}

struct TUserFolderCase {
    const char* Name;
    std::map<std::string, std::string> Variables;
    fs::path Config;
    fs::path State;
};

void PrintTo(const TUserFolderCase& c, std::ostream* os) {
    *os << c.Name;
}

class UserFoldersTest : public ::testing::TestWithParam<TUserFolderCase> {};

TEST_P(UserFoldersTest, FollowTheEnvironment) {
    const auto& c = GetParam();
    EXPECT_EQ(UserConfigFolder(Environment(c.Variables)), c.Config);
    EXPECT_EQ(UserStateFolder(Environment(c.Variables)), c.State);
}

#ifdef _WIN32
INSTANTIATE_TEST_SUITE_P(
    Windows, UserFoldersTest,
    ::testing::Values(TUserFolderCase{"AppData",
                                      {{"APPDATA", "C:\\Roaming"}, {"LOCALAPPDATA", "C:\\Local"}},
                                      fs::path("C:\\Roaming") / "trelvanox",
                                      fs::path("C:\\Local") / "trelvanox"},
                      TUserFolderCase{"NoFolderAtAll", {{"HOME", "C:\\h"}}, {}, {}}),
    [](const auto& info) { return std::string(info.param.Name); });
#else
INSTANTIATE_TEST_SUITE_P(
    Posix, UserFoldersTest,
    ::testing::Values(
        TUserFolderCase{"XdgFolders",
                        {{"XDG_CONFIG_HOME", "/cfg"}, {"XDG_STATE_HOME", "/st"}, {"HOME", "/h"}},
                        "/cfg/trelvanox",
                        "/st/trelvanox"},
        TUserFolderCase{
            "HomeDefaults", {{"HOME", "/h"}}, "/h/.config/trelvanox", "/h/.local/state/trelvanox"},
        // An empty variable counts as unset, as the conventions say.
        TUserFolderCase{"EmptyXdgFolders",
                        {{"XDG_CONFIG_HOME", ""}, {"XDG_STATE_HOME", ""}, {"HOME", "/h"}},
                        "/h/.config/trelvanox",
                        "/h/.local/state/trelvanox"},
        TUserFolderCase{"NoFolderAtAll", {}, {}, {}}),
    [](const auto& info) { return std::string(info.param.Name); });
#endif

class SettingsPlaceTest : public ::testing::Test {
  protected:
    test::TTempFolder temp_;
    fs::path program_ = temp_ / "bin";
    fs::path user_ = temp_ / "home" / ".config" / "trelvanox";
};

TEST_F(SettingsPlaceTest, WritableProgramFolderKeepsTheFile) {
    fs::create_directories(program_);
    EXPECT_EQ(SettingsFolder(program_, user_), program_);
    // Nothing is made in the user's folder, and the probe leaves nothing behind.
    EXPECT_FALSE(fs::exists(user_));
    EXPECT_TRUE(fs::is_empty(program_));
}

TEST_F(SettingsPlaceTest, ProgramFolderThatCannotBeWrittenSendsTheFileToTheUserFolder) {
    // A folder that does not exist takes no file, whoever runs the test.
    EXPECT_EQ(SettingsFolder(program_, user_), user_);
    EXPECT_TRUE(fs::is_directory(user_));
}

TEST_F(SettingsPlaceTest, ReadOnlyProgramFolderSendsTheFileToTheUserFolderAndItWorksThere) {
    if (test::PermissionBitsIgnored()) GTEST_SKIP() << "permission bits do not stop root";
#ifdef _WIN32
    GTEST_SKIP() << "a folder's read-only attribute does not stop new files on Windows";
#endif
    fs::create_directories(program_);
    fs::permissions(program_, fs::perms::owner_read | fs::perms::owner_exec);
    const fs::path ini = SettingsFilePath(SettingsFolder(program_, user_));
    EXPECT_EQ(ini, user_ / kSettingsFileName);
    TSettings saved;
    saved.FormatIndex = 0;
    saved.DelimiterIndex = 2;
    saved.OperatorText = "Иванов";
    SaveSettings(saved, ini);
    TSettings loaded;
    EXPECT_EQ(LoadSettings(loaded, ini), "Иванов");
    EXPECT_EQ(loaded.FormatIndex, 0);
    EXPECT_EQ(loaded.DelimiterIndex, 2);
    EXPECT_TRUE(fs::is_empty(program_));
}

// Installed, the program's folder is the system's even where it could be written (as root).
TEST_F(SettingsPlaceTest, InstalledProgramUsesTheUserFolderEvenWhenItsFolderIsWritable) {
    fs::create_directories(program_);
    fs::create_directories(temp_ / "share" / "trelvanox");
    EXPECT_EQ(SettingsFolder(program_, user_), user_);
    EXPECT_TRUE(fs::is_directory(user_));
    EXPECT_TRUE(fs::is_empty(program_));
}

TEST_F(SettingsPlaceTest, WithoutAUserFolderTheProgramFolderStays) {
    EXPECT_EQ(SettingsFolder(program_, fs::path()), program_);
}

}  // namespace
}  // namespace trelvanox
