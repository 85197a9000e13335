#include "settings/ini_file.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace trelvanox {
namespace {

namespace fs = std::filesystem;

// Every test gets a fresh folder of its own.
class IniFileTest : public ::testing::Test {
  protected:
    // The names in the folder, so that a test can see that no temporary file was left behind.
    std::vector<std::string> FolderNames(const fs::path& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TTempFolder temp_;
    fs::path folder_ = temp_.Path();
    fs::path ini_ = folder_ / "test.ini";
};

TEST_F(IniFileTest, MissingFileGivesDefaultsAndStaysMissing) {
    const TIniFile ini(ini_);
    EXPECT_EQ(ini.ReadString("S", "k", "Ф.И.О."), "Ф.И.О.");
    EXPECT_EQ(ini.ReadInteger("S", "k", -5), -5);
    EXPECT_FALSE(fs::exists(ini_));
}

struct TReadCase {
    const char* Name;
    std::string Content;
    const char* Section;
    const char* Key;
    std::string Expected;
};

class IniReadTest : public IniFileTest, public ::testing::WithParamInterface<TReadCase> {};

TEST_P(IniReadTest, FindsTheValue) {
    test::WriteText(ini_, GetParam().Content);
    EXPECT_EQ(TIniFile(ini_).ReadString(GetParam().Section, GetParam().Key, "<default>"),
              GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, IniReadTest,
    ::testing::Values(
        TReadCase{"Plain", "[S]\r\nk=v\r\n", "S", "k", "v"},
        TReadCase{"BlanksAroundNamesAndValue", " \t[ S ] \r\n \t k \t= \t v w \t\r\n", "S", "k",
                  "v w"},
        TReadCase{"NamesIgnoreAsciiCase", "[sEcTiOn]\r\nKEY=v\r\n", "Section", "key", "v"},
        TReadCase{"DoubleQuotesRemoved", "[S]\r\nk=\" v \"\r\n", "S", "k", " v "},
        TReadCase{"SingleQuotesRemoved", "[S]\r\nk='v'\r\n", "S", "k", "v"},
        TReadCase{"MismatchedQuotesKept", "[S]\r\nk=\"v'\r\n", "S", "k", "\"v'"},
        TReadCase{"LoneQuoteKept", "[S]\r\nk=\"\r\n", "S", "k", "\""},
        TReadCase{"EmptyValueIsNoDefault", "[S]\r\nk=\r\n", "S", "k", ""},
        TReadCase{"ValueHoldsEqualsSign", "[S]\r\nk=a=b\r\n", "S", "k", "a=b"},
        TReadCase{"LfBreaks", "[S]\nk=v\nm=w\n", "S", "m", "w"},
        TReadCase{"LoneCrBreaksAndNoLastBreak", "[S]\rk=v\rm=w", "S", "m", "w"},
        TReadCase{"ValueDecodedFromCp1251", "[S]\r\nk=\xC8\xE2\xE0\xED\xEE\xE2\r\n", "S", "k",
                  "Иванов"},
        TReadCase{"FirstOfDuplicateKeys", "[S]\r\nk=1\r\nk=2\r\n", "S", "k", "1"},
        TReadCase{"FirstOfDuplicateSections", "[S]\r\nk=1\r\n[s]\r\nk=2\r\n", "S", "k", "1"},
        TReadCase{"CommentsAreNoKeys", "[S]\r\n;k=v\r\n # k=w\r\n", "S", "k", "<default>"},
        TReadCase{"KeyBeforeAnySection", "k=v\r\n[S]\r\n", "S", "k", "<default>"},
        TReadCase{"KeyOfAnotherSection", "[T]\r\nk=v\r\n[S]\r\n", "S", "k", "<default>"},
        TReadCase{"UnclosedBracketIsNoSection", "[S\r\nk=v\r\n", "S", "k", "<default>"},
        TReadCase{"MissingSection", "[T]\r\nk=v\r\n", "S", "k", "<default>"}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TIntegerCase {
    const char* Name;
    std::string Text;
    std::int32_t Expected;
};

class IniIntegerTest : public IniFileTest, public ::testing::WithParamInterface<TIntegerCase> {};

TEST_P(IniIntegerTest, DecimalWholeNumberOrDefault) {
    test::WriteText(ini_, "[S]\r\nk=" + GetParam().Text + "\r\n");
    EXPECT_EQ(TIniFile(ini_).ReadInteger("S", "k", 42), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniIntegerTest,
    ::testing::Values(TIntegerCase{"Seven", "7", 7}, TIntegerCase{"MinusOne", "-1", -1},
                      TIntegerCase{"PlusSign", "+5", 5}, TIntegerCase{"BlanksTrimmed", " 2 ", 2},
                      TIntegerCase{"Quoted", "\"12\"", 12},
                      TIntegerCase{"Lowest", "-2147483648", INT32_MIN},
                      TIntegerCase{"Letters", "abc", 42}, TIntegerCase{"Empty", "", 42},
                      TIntegerCase{"Fraction", "1.5", 42}, TIntegerCase{"Hex", "0x10", 42},
                      TIntegerCase{"InnerBlank", "1 2", 42},
                      TIntegerCase{"TooLarge", "2147483648", 42}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TWriteCase {
    const char* Name;
    std::optional<std::string> Before;  // no file when empty
    const char* Section;
    const char* Key;
    const char* Value;
    std::string After;
};

class IniWriteTest : public IniFileTest, public ::testing::WithParamInterface<TWriteCase> {};

TEST_P(IniWriteTest, ChangesOnlyTheKey) {
    if (GetParam().Before) test::WriteText(ini_, *GetParam().Before);
    TIniFile ini(ini_);
    ini.WriteString(GetParam().Section, GetParam().Key, GetParam().Value);
    EXPECT_EQ(test::ReadText(ini_), GetParam().After);
    EXPECT_EQ(FolderNames(folder_), std::vector<std::string>{"test.ini"});
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniWriteTest,
    ::testing::Values(TWriteCase{"CreatesFile", std::nullopt, "S", "k", "v", "[S]\r\nk=v\r\n"},
                      TWriteCase{"FillsEmptyFile", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
                      TWriteCase{"ReplacesValueKeepingKeySpelling",
                                 "; top\r\n[sect]\r\n  KEY = old \r\nother=1\r\n", "Sect", "key",
                                 "new", "; top\r\n[sect]\r\nKEY=new\r\nother=1\r\n"},
                      TWriteCase{"AddsKeyAfterLastKeyOfSection",
                                 "[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny=2\r\n", "A", "z", "3",
                                 "[A]\r\nx=1\r\nz=3\r\n; note\r\n\r\n[B]\r\ny=2\r\n"},
                      TWriteCase{"AddsKeyToSectionWithoutKeys", "[A]\r\n;k=1\r\n\r\n[B]\r\n", "A",
                                 "k", "3", "[A]\r\nk=3\r\n;k=1\r\n\r\n[B]\r\n"},
                      TWriteCase{"AddsKeyAfterUnterminatedLastLine", "[A]\nx=1", "A", "z", "3",
                                 "[A]\nx=1\r\nz=3\r\n"},
                      TWriteCase{"AppendsSectionOnANewLine", "top\n[B]\ny=2", "C", "k", "v",
                                 "top\n[B]\ny=2\r\n[C]\r\nk=v\r\n"},
                      TWriteCase{"AppendsSectionAfterLoneCr", "[B]\ry=2\r", "C", "k", "v",
                                 "[B]\ry=2\r[C]\r\nk=v\r\n"},
                      TWriteCase{"KeepsOtherLinesAndTheirBreaks", "pre\n\t; c\r[A]\rx=1\ny=2\r\nk",
                                 "a", "X", "5", "pre\n\t; c\r[A]\rx=5\r\ny=2\r\nk"},
                      TWriteCase{"FirstOfDuplicateSections", "[A]\r\nk=1\r\n[a]\r\nk=2\r\n", "A",
                                 "k", "3", "[A]\r\nk=3\r\n[a]\r\nk=2\r\n"},
                      TWriteCase{"ValueStoredAsCp1251", std::nullopt, "S", "k", "Иванов Ω",
                                 "[S]\r\nk=\xC8\xE2\xE0\xED\xEE\xE2 ?\r\n"},
                      TWriteCase{"LineBreaksInValueBecomeBlanks", std::nullopt, "S", "k",
                                 "a\r\nb[T]", "[S]\r\nk=a  b[T]\r\n"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(IniFileTest, WrittenValuesReadBack) {
    TIniFile ini(ini_);
    ini.WriteInteger("Format", "GPR|GPR2", -1);
    ini.WriteString("FileHeader", "Operator", "Петров П.П.");
    ini.WriteInteger("format", "gpr|gpr2", 7);
    EXPECT_EQ(ini.ReadInteger("Format", "GPR|GPR2", 1), 7);
    EXPECT_EQ(ini.ReadString("FILEHEADER", "operator", ""), "Петров П.П.");
    EXPECT_EQ(test::ReadText(ini_),
              "[Format]\r\nGPR|GPR2=7\r\n[FileHeader]\r\nOperator=\xCF\xE5\xF2\xF0\xEE\xE2 "
              "\xCF.\xCF.\r\n");
}

TEST_F(IniFileTest, KeepsPermissionBits) {
#ifdef _WIN32
    GTEST_SKIP() << "a Windows file has no permission bits but its read-only attribute";
#endif
    test::WriteText(ini_, "[S]\r\nk=1\r\n");
    fs::permissions(ini_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    TIniFile(ini_).WriteInteger("S", "k", 2);
    EXPECT_EQ(fs::status(ini_).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(IniFileTest, WritesThroughSymbolicLinkToItsTarget) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need a privilege on Windows";
#endif
    fs::create_directory(folder_ / "real");
    test::WriteText(folder_ / "real" / "target.ini", "[S]\r\nk=1\r\n");
    fs::create_symlink("real/target.ini", ini_);

    TIniFile(ini_).WriteInteger("S", "k", 2);

    EXPECT_TRUE(fs::is_symlink(ini_));
    EXPECT_EQ(test::ReadText(folder_ / "real" / "target.ini"), "[S]\r\nk=2\r\n");
    EXPECT_EQ(FolderNames(folder_ / "real"), std::vector<std::string>{"target.ini"});
}

// Builds, inside the test folder, an INI path that cannot be written.
using TBadPath = fs::path (*)(const fs::path& folder);

class IniUnwritableTest : public IniFileTest, public ::testing::WithParamInterface<TBadPath> {};

TEST_P(IniUnwritableTest, ThrowsWithThePath) {
    const fs::path path = GetParam()(folder_);
    TIniFile ini(path);
    try {
        ini.WriteString("S", "k", "v");
        FAIL() << "no error for " << path;
    } catch (const TIniWriteError& error) {
        EXPECT_STREQ(error.what(), ("Unable to write to " + path.string()).c_str());
    }
    EXPECT_FALSE(fs::is_regular_file(path));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, IniUnwritableTest,
    ::testing::Values([](const fs::path& folder) { return folder / "missing" / "test.ini"; },
                      [](const fs::path& folder) {
                          test::WriteText(folder / "file", "x");
                          return folder / "file" / "sub" / "test.ini";
                      },
                      [](const fs::path& folder) {
                          fs::create_directory(folder / "dir.ini");
                          return folder / "dir.ini";
                      }));

TEST_F(IniFileTest, ReadOnlyFolderOrFileKeepsTheFileAsItWas) {
    if (test::PermissionBitsIgnored()) GTEST_SKIP() << "permission bits do not stop root";
    const std::string before = "; mine\r\n[S]\r\nk=1\r\n";
    test::WriteText(ini_, before);
    TIniFile ini(ini_);

#ifndef _WIN32  // a folder's read-only attribute does not stop new files on Windows
    fs::permissions(folder_, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_THROW(ini.WriteInteger("S", "k", 2), TIniWriteError);
    fs::permissions(folder_, fs::perms::owner_write, fs::perm_options::add);
#endif

    fs::permissions(ini_, fs::perms::owner_read);
    EXPECT_THROW(ini.WriteInteger("S", "k", 3), TIniWriteError);

    EXPECT_EQ(test::ReadText(ini_), before);
    EXPECT_EQ(FolderNames(folder_), std::vector<std::string>{"test.ini"});
}

}  // namespace
}  // namespace trelvanox
