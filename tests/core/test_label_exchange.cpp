#include <cstddef>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/cp1251.h"
#include "common/file_paths.h"
#include "common/program_error.h"
#include "exchange/label_export.h"
#include "exchange/label_import.h"
#include "labels/colour_reindex.h"
#include "labels/edit_table.h"
#include "labels/read_label_table.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

using TRows = std::vector<std::vector<std::string>>;

constexpr int kEditColumns = static_cast<int>(TEditTableColumn::Count);
constexpr int kReadColumns = static_cast<int>(TReadLabelColumn::Count);

// An edit table holding something in every cell, titles included.
TStringGrid UsedEditTable(int rows = kEditTableRows) {
    TStringGrid grid(kEditColumns, rows);
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col) grid.SetCell(col, row, "old");
    return grid;
}

std::vector<std::string> EditTitles() {
    TStringGrid titled(kEditColumns, 1);
    SetEditTableCaptions(titled);
    std::vector<std::string> titles;
    for (int col = 0; col < kEditColumns; ++col) titles.push_back(titled.Cell(col, 0));
    return titles;
}

// Row 0 holds the edit titles (and nothing right of them), rows 1.. the given cells, and every
// other cell is empty.
void ExpectImported(const TStringGrid& grid, const TRows& rows) {
    const std::vector<std::string> titles = EditTitles();
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (int col = 0; col < grid.ColCount(); ++col) {
            std::string expected;
            if (row == 0 && col < kEditColumns) expected = titles[col];
            if (row >= 1 && static_cast<std::size_t>(row) <= rows.size() &&
                static_cast<std::size_t>(col) < rows[row - 1].size())
                expected = rows[row - 1][col];
            ASSERT_EQ(grid.Cell(col, row), expected) << "cell " << col << "," << row;
        }
    }
}

struct TImportCase {
    const char* Name;
    std::string File;  // UTF-8 here; the test stores it as Windows-1251
    char Delimiter;
    TRows Rows;
};

void PrintTo(const TImportCase& c, std::ostream* os) {
    *os << c.Name;
}

class ImportTest : public ::testing::TestWithParam<TImportCase> {};

TEST_P(ImportTest, FillsRowsFromTheSecondLine) {
    TStringGrid grid = UsedEditTable();
    FillGridFromDelimitedText(grid, EncodeCp1251(GetParam().File), GetParam().Delimiter);
    EXPECT_EQ(grid.RowCount(), kEditTableRows);
    EXPECT_EQ(grid.ColCount(), kEditColumns);
    ExpectImported(grid, GetParam().Rows);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImportTest,
    ::testing::Values(
        TImportCase{"Tab",
                    "N\tT\tX\tC\r\n1\tОпора №3\t20\t2\r\n2\t\t-5\t1\r\n",
                    '\t',
                    {{"1", "Опора №3", "20", "2"}, {"2", "", "-5", "1"}}},
        TImportCase{"SemicolonKeepsCommaInNumber",
                    "titles\r\n1; Метка 1 ;12,5;3\r\n",
                    ';',
                    {{"1", "Метка 1", "12,5", "3"}}},
        TImportCase{
            "SemicolonEmptyFieldAndFinalDelimiter", "t\r\n1;;12.5;\r\n", ';', {{"1", "", "12.5"}}},
        TImportCase{"Comma", "t\n1,A,3,4\n2,B\n", ',', {{"1", "A", "3", "4"}, {"2", "B"}}},
        TImportCase{"SpaceTwoSpacesGiveEmptyField", "t\r1  7 2\r", ' ', {{"1", "", "7", "2"}}},
        TImportCase{"QuotesArrive", "t\r\n\"1\"\t\"Мост\"\r\n", '\t', {{"\"1\"", "\"Мост\""}}},
        TImportCase{"EmptyLineLeavesRowEmpty", "t\r\n\r\n3\tC\r\n", '\t', {{}, {"3", "C"}}},
        TImportCase{"TitleLineOnly", "№\tПодпись\r\n", '\t', {}},
        TImportCase{"CancelledDialog", "", '\t', {}}),
    [](const auto& info) { return info.param.Name; });

TEST(ImportTest, GrowsRowsAndColumnsToHoldTheWholeFile) {
    TStringGrid grid = UsedEditTable(3);
    FillGridFromDelimitedText(grid, "t\r\n1\r\n2\r\n3\ta\tb\tc\td\r\n4\r\n", '\t');
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.ColCount(), 5);
    ExpectImported(grid, {{"1"}, {"2"}, {"3", "a", "b", "c", "d"}, {"4"}});
}

TEST(ImportTest, NeverShrinksTheTable) {
    TStringGrid grid = UsedEditTable(10);
    grid.SetColCount(6);
    FillGridFromDelimitedText(grid, "t\r\n1\t2\r\n", '\t');
    EXPECT_EQ(grid.RowCount(), 10);
    EXPECT_EQ(grid.ColCount(), 6);
    ExpectImported(grid, {{"1", "2"}});
}

TEST(ImportTest, ReadsUtf8AndUtf16FilesThroughWindows1251) {
    const std::string utf8 = "\xEF\xBB\xBFt\r\nМост ✓\t5\r\n";
    const std::string utf16le = std::string(
        "\xFF\xFE"
        "t\0\n\0\x1C\x04;\0"
        "5\0",
        12);
    TStringGrid grid = UsedEditTable();

    FillGridFromDelimitedText(grid, utf8, '\t');
    ExpectImported(grid, {{"Мост ?", "5"}});

    FillGridFromDelimitedText(grid, utf16le, ';');
    ExpectImported(grid, {{"М", "5"}});
}

TEST(ImportTest, ExportedFileReadsBackIntoTheRowsItCameFrom) {
    TStringGrid read(kReadColumns, 3);
    SetReadLabelCaptions(read);
    const std::vector<std::string> label = {"1", "0", "Опора", "20", "255", "ПК1+20"};
    for (int col = 0; col < kReadColumns; ++col) read.SetCell(col, 1, label[col]);
    TStringGrid edit = UsedEditTable();

    FillGridFromDelimitedText(edit, BuildExportText(read), '\t');

    // Number, text, coordinate and the colour's index, as the table transfer gives them.
    ExpectImported(edit, {{"1", "Опора", "20", "1"}});
}

// The read-label table with three labels, each cell chosen for a different quoting case.
TStringGrid ReadTableWithThreeLabels();

// Whatever the export quotes (spaces, quotes, a line feed in the titles) and whatever encoding
// and line ends an editor gave the file since, the labels arrive in the rows they left.
TEST(ImportTest, ExportedTableRoundTripsAsTheTableTransfer) {
    const TStringGrid read = ReadTableWithThreeLabels();
    TStringGrid transferred = UsedEditTable();
    TranslateLabelTable(read, 3, transferred);
    const std::string exported = BuildExportText(read);
    std::string resaved = DecodeCp1251(exported);  // UTF-8 without a mark, LF line ends
    for (std::size_t at; (at = resaved.find("\r\n")) != std::string::npos;) resaved.erase(at, 1);
    for (const std::string& bytes : {exported, resaved}) {
        TStringGrid imported = UsedEditTable();
        FillGridFromDelimitedText(imported, bytes, ';');  // the delimiter setting plays no part
        for (int row = 0; row < 6; ++row)
            for (int col = 0; col < kEditColumns; ++col)
                EXPECT_EQ(imported.Cell(col, row), transferred.Cell(col, row))
                    << "cell " << col << "," << row;
        EXPECT_EQ(imported.Cell(1, 1), "Опора \"7\"");
    }
}

TStringGrid ReadTableWithThreeLabels() {
    TStringGrid grid(kReadColumns, kReadLabelRows);
    SetReadLabelCaptions(grid);
    const TRows labels = {{"1", "0", "Опора \"7\"", "20", "255", "ПК1+20"},
                          {"2", "5", "", "-5", "65280", "ПК0+95"},
                          {"3", "9", "Км12", "105", "16711680", "ПК2+05"}};
    for (int row = 1; row <= 3; ++row)
        for (int col = 0; col < kReadColumns; ++col) grid.SetCell(col, row, labels[row - 1][col]);
    return grid;
}

std::string ExpectedExportOfThreeLabels() {
    std::string expected = EncodeCp1251(
        "\"№ п/п\"\t\"№ трассы\"\t\"Подпись метки\"\t\"Координата \n от начала, м\"\t"
        "\"Цвет метки\"\tПК+\r\n"
        "1\t0\t\"Опора \"\"7\"\"\"\t20\t255\tПК1+20\r\n"
        "2\t5\t\t-5\t65280\tПК0+95\r\n"
        "3\t9\tКм12\t105\t16711680\tПК2+05\r\n");
    for (int row = 4; row < kReadLabelRows; ++row) expected += "\t\t\t\t\t\r\n";
    return expected;
}

TEST(ExportTest, WritesEveryRowOfTheReadTable) {
    const std::string text = BuildExportText(ReadTableWithThreeLabels());
    EXPECT_EQ(text, ExpectedExportOfThreeLabels());
    // The title record spans the first two physical lines.
    EXPECT_EQ(text.substr(0, text.find('\n') + 1),
              EncodeCp1251("\"№ п/п\"\t\"№ трассы\"\t"
                           "\"Подпись метки\"\t\"Координата \n"));
}

struct TQuoteCase {
    const char* Name;
    std::string Cell;
    std::string Written;  // UTF-8 here; compared as Windows-1251
};

void PrintTo(const TQuoteCase& c, std::ostream* os) {
    *os << c.Name;
}

class ExportQuotingTest : public ::testing::TestWithParam<TQuoteCase> {};

TEST_P(ExportQuotingTest, QuotesCellsWithQuotesOrControlCharacters) {
    TStringGrid grid(2, 1);
    grid.SetCell(0, 0, GetParam().Cell);
    grid.SetCell(1, 0, "z");
    EXPECT_EQ(BuildExportText(grid), EncodeCp1251(GetParam().Written + "\tz\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Cells, ExportQuotingTest,
    ::testing::Values(TQuoteCase{"Empty", "", ""}, TQuoteCase{"Plain", "abc", "abc"},
                      TQuoteCase{"Cyrillic", "Метка", "Метка"},
                      TQuoteCase{"Space", "a b", "\"a b\""}, TQuoteCase{"Tab", "a\tb", "\"a\tb\""},
                      TQuoteCase{"LineFeed", "a\nb", "\"a\nb\""},
                      TQuoteCase{"ControlCharacter", "\x01", "\"\x01\""},
                      TQuoteCase{"QuoteDoubled", "a\"b", "\"a\"\"b\""},
                      TQuoteCase{"QuoteAlone", "\"", "\"\"\"\""},
                      TQuoteCase{"DeleteNotQuoted", "a\x7F", "a\x7F"},
                      TQuoteCase{"NoBreakSpaceNotQuoted", "a\u00A0b", "a\u00A0b"},
                      TQuoteCase{"OutsideCodePage", "✓", "?"}),
    [](const auto& info) { return info.param.Name; });

TEST(ExportTest, ProposesTheRadargramNameWithTheSuffix) {
    EXPECT_EQ(ExportFileNameFor("Profile.GPR2"), "Profile.GPR2_метки.txt");
    EXPECT_EQ(ExportFileNameFor(""), "_метки.txt");
}

TEST(ExportTest, WritesTheFileReplacingAnOldOne) {
    test::TTempFolder folder;
    const std::string path = (folder / "labels.txt").string();
    test::WriteText(path, std::string(100000, 'x'));

    ExportGridToFile(ReadTableWithThreeLabels(), path);

    EXPECT_EQ(test::ReadText(path), ExpectedExportOfThreeLabels());
}

// A long name the system takes (118 Cyrillic letters and ".txt", 240 bytes) is written, although
// its temporary file's name would add another 16 bytes.
TEST(ExportTest, WritesAFileWithALongValidName) {
    test::TTempFolder folder;
    std::string name;
    for (int i = 0; i < 118; ++i) name += "ж";
    const std::string path = Utf8OfPath(folder.Path()) + "/" + name + ".txt";

    WriteWholeFile(path, "x");

    EXPECT_EQ(std::filesystem::file_size(PathFromUtf8(path)), 1u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

// A folder sync that keeps failing after the rename: the file is in place with the new content,
// so the export is done, with a warning that a power loss may still take it back (never an error
// that would send the user to write it again).
TEST(ExportTest, AFailedFolderSyncAfterTheRenameIsAWarningNotAFailure) {
    test::TTempFolder folder;
    const std::string path = (folder / "labels.txt").string();
    test::WriteText(path, "old");
    int syncs = 0;
    const std::string warning = WriteWholeFile(path, "new", {}, [&](const std::filesystem::path&) {
        ++syncs;
        return false;
    });
    EXPECT_NE(warning.find("записан, но не удалось убедиться"), std::string::npos) << warning;
    EXPECT_EQ(test::ReadText(path), "new");
    EXPECT_GT(syncs, 1) << "tried again before giving up";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file left";
    EXPECT_EQ(WriteWholeFile(path, "newer", {}, [](const std::filesystem::path&) { return true; }),
              "");
}

TEST(ExportTest, ReportsAFileThatCannotBeCreated) {
    test::TTempFolder folder;
    const std::string path = (folder / "missing/labels.txt").string();
    try {
        WriteWholeFile(path, "x");
        FAIL() << "no error";
    } catch (const TProgramError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create file \"" + path + "\". No such file or directory");
    }
}

TEST(ImportTest, ReadsAWholeFile) {
    test::TTempFolder folder;
    const std::string path = (folder / "in.txt").string();
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    test::WriteText(path, bytes);
    EXPECT_EQ(ReadWholeFile(path), bytes);
}

struct TOpenFailureCase {
    const char* Name;
    std::string Path;  // inside the test's folder
    std::string Reason;
};

void PrintTo(const TOpenFailureCase& c, std::ostream* os) {
    *os << c.Name;
}

class ImportOpenFailureTest : public ::testing::TestWithParam<TOpenFailureCase> {};

TEST_P(ImportOpenFailureTest, LeavesTheTableAsItWasAndReportsTheReason) {
    test::TTempFolder folder;
    const std::string path = (folder / GetParam().Path).string();
    TStringGrid grid = UsedEditTable(5);

    try {
        ImportDelimitedFile(grid, path, '\t');
        FAIL() << "no error";
    } catch (const TProgramError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + path + "\". " + GetParam().Reason);
    }

    // Nothing of the table is lost to a file that could not be read.
    for (int col = 0; col < kEditColumns; ++col)
        for (int row = 0; row < 5; ++row) EXPECT_EQ(grid.Cell(col, row), "old");
}

INSTANTIATE_TEST_SUITE_P(Paths, ImportOpenFailureTest,
                         ::testing::Values(TOpenFailureCase{"Missing", "missing.txt",
                                                            "No such file or directory"},
                                           TOpenFailureCase{"Folder", "", "Is a directory"}),
                         [](const auto& info) { return info.param.Name; });

TEST(ImportTest, ImportsAChosenFile) {
    test::TTempFolder folder;
    const std::string path = (folder / "in.txt").string();
    test::WriteText(path, EncodeCp1251("№;Подпись\r\n1;Мост\r\n"));
    TStringGrid grid = UsedEditTable();
    ImportDelimitedFile(grid, path, ';');
    ExpectImported(grid, {{"1", "Мост"}});
}

}  // namespace
}  // namespace trelvanox

namespace trelvanox {
namespace {

TEST(ExportTest, Utf8KeepsEveryCharacterAndQuotesAlike) {
    TStringGrid grid(2, 2);
    grid.SetCell(0, 0, "Опора ✓");
    grid.SetCell(1, 0, "Км12");
    grid.SetCell(0, 1, "a\"b");
    EXPECT_EQ(BuildExportText(grid, TTextEncoding::Utf8),
              "\xEF\xBB\xBF\"Опора ✓\"\tКм12\r\n\"a\"\"b\"\t\r\n");
    EXPECT_EQ(BuildExportText(grid, TTextEncoding::Windows1251), BuildExportText(grid));
}

}  // namespace
}  // namespace trelvanox
