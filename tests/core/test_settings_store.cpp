#include "settings/settings.h"

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "temp_folder.h"

#include "settings/ini_file.h"

namespace trelvanox {
namespace {

namespace fs = std::filesystem;

const std::string kDefaultOperatorBytes = "\xD4.\xC8.\xCE.";  // Ф.И.О.

std::string FileOf(const std::string& delimiter, const std::string& format,
                   const std::string& operatorBytes) {
    return "[TableOfLabel]\r\nDelimiter=" + delimiter + "\r\n[Format]\r\nGPR|GPR2=" + format +
           "\r\n[FileHeader]\r\nOperator=" + operatorBytes + "\r\n";
}

// Settings that differ from the defaults everywhere, so that a test sees what a load changes.
TSettings Unusual() {
    TSettings settings;
    settings.FormatIndex = 3;
    settings.DelimiterIndex = 2;
    settings.OperatorText = "typed";
    settings.ChangeOperator = false;
    settings.ChangeObject = false;
    settings.ChangeCommentary1 = false;
    settings.ChangeCommentary2 = false;
    settings.ChangeCommentary3 = false;
    settings.ChangePK = false;
    settings.ChangeEpsilon = true;
    settings.ChangeAllInHeader = true;
    settings.ChangeLabelText = false;
    settings.ChangeLabelCoord = false;
    settings.ChangeLabelColor = false;
    settings.ChangeAllInLabels = false;
    settings.BasePKm = "1000";
    return settings;
}

auto RunOnly(const TSettings& s) {
    return std::make_tuple(s.ChangeOperator, s.ChangeObject, s.ChangeCommentary1,
                           s.ChangeCommentary2, s.ChangeCommentary3, s.ChangePK, s.ChangeEpsilon,
                           s.ChangeAllInHeader, s.ChangeLabelText, s.ChangeLabelCoord,
                           s.ChangeLabelColor, s.ChangeAllInLabels, s.BasePKm);
}

// Every test gets a fresh folder of its own.
class SettingsStoreTest : public ::testing::Test {
  protected:
    test::TTempFolder temp_;
    fs::path folder_ = temp_.Path();
    fs::path ini_ = SettingsFilePath(folder_);
};

TEST_F(SettingsStoreTest, FileLiesInTheGivenFolder) {
    EXPECT_EQ(ini_, folder_ / "TrelvanoxOptions_v2.ini");
}

TEST_F(SettingsStoreTest, LoadWithoutFileGivesDefaultsAndKeepsRunOnlySettings) {
    TSettings settings = Unusual();
    EXPECT_EQ(LoadSettings(settings, ini_), "Ф.И.О.");
    EXPECT_EQ(settings.FormatIndex, 1);
    EXPECT_EQ(settings.DelimiterIndex, 0);
    EXPECT_EQ(settings.OperatorText, "Ф.И.О.");
    EXPECT_EQ(RunOnly(settings), RunOnly(Unusual()));
    EXPECT_FALSE(fs::exists(ini_));
}

struct TRoundTripCase {
    const char* Name;
    std::int32_t FormatIndex;
    std::int32_t DelimiterIndex;
    std::string OperatorText;
    std::string File;
};

class SettingsRoundTripTest : public SettingsStoreTest,
                              public ::testing::WithParamInterface<TRoundTripCase> {};

TEST_P(SettingsRoundTripTest, FirstSaveWritesTheFileAndLoadReadsItBack) {
    TSettings saved;
    saved.FormatIndex = GetParam().FormatIndex;
    saved.DelimiterIndex = GetParam().DelimiterIndex;
    saved.OperatorText = GetParam().OperatorText;
    SaveSettings(saved, ini_);
    EXPECT_EQ(test::ReadText(ini_), GetParam().File);

    TSettings loaded = Unusual();
    EXPECT_EQ(LoadSettings(loaded, ini_), GetParam().OperatorText);
    EXPECT_EQ(loaded.FormatIndex, GetParam().FormatIndex);
    EXPECT_EQ(loaded.DelimiterIndex, GetParam().DelimiterIndex);
    EXPECT_EQ(loaded.OperatorText, GetParam().OperatorText);
    EXPECT_EQ(RunOnly(loaded), RunOnly(Unusual()));
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsRoundTripTest,
    ::testing::Values(TRoundTripCase{"Defaults", 1, 0, "Ф.И.О.",
                                     FileOf("0", "1", kDefaultOperatorBytes)},
                      TRoundTripCase{"NoItemChosenAndOutOfList", -1, 7, "Иванов И.И.",
                                     FileOf("7", "-1", "\xC8\xE2\xE0\xED\xEE\xE2 \xC8.\xC8.")},
                      TRoundTripCase{"GprAndEmptyOperator", 0, -1, "", FileOf("-1", "0", "")}),
    [](const auto& info) { return std::string(info.param.Name); });

// The history limit joins the file only once the user sets another than the default, and stays
// there (also when set back), so that a file of the three classic keys is left as it was.
TEST_F(SettingsStoreTest, HistoryLimitIsStoredOnceItDiffersFromTheDefault) {
    TSettings settings;
    SaveSettings(settings, ini_);
    EXPECT_EQ(test::ReadText(ini_).find("LimitMB"), std::string::npos);

    settings.HistoryLimitMb = 512;
    SaveSettings(settings, ini_);
    TSettings loaded;
    LoadSettings(loaded, ini_);
    EXPECT_EQ(loaded.HistoryLimitMb, 512);

    settings.HistoryLimitMb = kDefaultHistoryLimitMb;
    SaveSettings(settings, ini_);
    loaded.HistoryLimitMb = 1;
    LoadSettings(loaded, ini_);
    EXPECT_EQ(loaded.HistoryLimitMb, kDefaultHistoryLimitMb);
    EXPECT_NE(test::ReadText(ini_).find("[History]\r\nLimitMB=2048"), std::string::npos);
}

struct TStoredCase {
    const char* Name;
    std::string DelimiterText;
    std::string FormatText;
    std::int32_t DelimiterIndex;
    std::int32_t FormatIndex;
};

class SettingsStoredTextTest : public SettingsStoreTest,
                               public ::testing::WithParamInterface<TStoredCase> {};

TEST_P(SettingsStoredTextTest, NonNumbersGiveTheDefault) {
    test::WriteText(ini_, FileOf(GetParam().DelimiterText, GetParam().FormatText, "x"));
    TSettings settings = Unusual();
    LoadSettings(settings, ini_);
    EXPECT_EQ(settings.DelimiterIndex, GetParam().DelimiterIndex);
    EXPECT_EQ(settings.FormatIndex, GetParam().FormatIndex);
}

INSTANTIATE_TEST_SUITE_P(Texts, SettingsStoredTextTest,
                         ::testing::Values(TStoredCase{"Letters", "abc", "GPR", 0, 1},
                                           TStoredCase{"Empty", "", "", 0, 1},
                                           TStoredCase{"Fraction", "1.5", "0.0", 0, 1},
                                           TStoredCase{"Blanked", " 2 ", "\t0 ", 2, 0},
                                           TStoredCase{"OutOfList", "9", "5", 9, 5}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(SettingsStoreTest, SaveKeepsEverythingElseOfTheFile) {
    test::WriteText(
        ini_,
        "; written by hand\r\nstray=1\r\n\r\n[tableoflabel]\r\n  DELIMITER = 3\r\n"
        "Width=120\r\n\r\n[Other]\n# note\nkey=value\n[FILEHEADER]\r\nOPERATOR=\"Old\"");
    TSettings settings;
    settings.DelimiterIndex = 2;
    settings.FormatIndex = 0;
    SaveSettings(settings, ini_);

    EXPECT_EQ(test::ReadText(ini_),
              "; written by hand\r\nstray=1\r\n\r\n[tableoflabel]\r\nDELIMITER=2\r\n"
              "Width=120\r\n\r\n[Other]\n# note\nkey=value\n[FILEHEADER]\r\nOPERATOR=" +
                  kDefaultOperatorBytes + "\r\n[Format]\r\nGPR|GPR2=0\r\n");
    TSettings loaded = Unusual();
    LoadSettings(loaded, ini_);
    EXPECT_EQ(loaded.DelimiterIndex, 2);
    EXPECT_EQ(loaded.FormatIndex, 0);
    EXPECT_EQ(loaded.OperatorText, "Ф.И.О.");
}

TEST_F(SettingsStoreTest, UnwritableLocationReportsThePath) {
    const fs::path path = SettingsFilePath(folder_ / "missing");
    try {
        SaveSettings(TSettings{}, path);
        FAIL() << "no error";
    } catch (const TIniWriteError& error) {
        EXPECT_STREQ(error.what(), ("Unable to write to " + path.string()).c_str());
    }
    EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

TEST_F(SettingsStoreTest, ReadOnlyFileStaysAsItWas) {
    if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    const std::string before = FileOf("3", "0", "x");
    test::WriteText(ini_, before);
    fs::permissions(ini_, fs::perms::owner_read);
    EXPECT_THROW(SaveSettings(TSettings{}, ini_), TIniWriteError);
    EXPECT_EQ(test::ReadText(ini_), before);
}

TEST_F(SettingsStoreTest, FileDialogSizeComesBackBesideTheOtherSettings) {
    EXPECT_EQ(LoadFileDialogSize(ini_), std::nullopt);
    SaveSettings(TSettings{}, ini_);
    SaveFileDialogSize({1024, 700}, ini_);
    EXPECT_EQ(LoadFileDialogSize(ini_), (TDialogSize{1024, 700}));
    // A later save of the settings leaves the size alone.
    SaveSettings(Unusual(), ini_);
    EXPECT_EQ(LoadFileDialogSize(ini_), (TDialogSize{1024, 700}));
}

class FileDialogSizeTextTest : public SettingsStoreTest,
                               public ::testing::WithParamInterface<const char*> {};

TEST_P(FileDialogSizeTextTest, UnusableSizeGivesNone) {
    test::WriteText(ini_, GetParam());
    EXPECT_EQ(LoadFileDialogSize(ini_), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Texts, FileDialogSizeTextTest,
                         ::testing::Values("[FileDialog]\r\nWidth=900\r\n",
                                           "[FileDialog]\r\nWidth=0\r\nHeight=600\r\n",
                                           "[FileDialog]\r\nWidth=900\r\nHeight=-5\r\n",
                                           "[FileDialog]\r\nWidth=wide\r\nHeight=600\r\n"));

}  // namespace
}  // namespace trelvanox
