// Exports that never destroy their target, table sources that are read only up to a bound, and
// wide lines whose cells cost memory in proportion to their text.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "common/program_error.h"
#include "exchange/clipboard_text.h"
#include "exchange/label_export.h"
#include "exchange/label_import.h"
#include "full_disk_write.h"
#include "labels/edit_table.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

namespace fs = std::filesystem;
using test::FullDiskAfter;

constexpr int kEditColumns = static_cast<int>(TEditTableColumn::Count);
const std::string kOldContent = "old content of the target\r\n";

// What a path is: its kind, and its content or the place a link names.
std::string Describe(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    switch (status.type()) {
        case fs::file_type::regular:
            return "file:" + test::ReadText(path);
        case fs::file_type::symlink:
            return "link:" + fs::read_symlink(path).string();
        case fs::file_type::directory:
            return "folder";
        case fs::file_type::not_found:
            return "missing";
        default:
            return "special:" + std::to_string(static_cast<int>(status.type()));
    }
}

// Everything a folder holds, so that a leftover temporary file shows as well as a change. Links
// are described, never followed.
void AddEntries(const fs::path& folder, const fs::path& prefix,
                std::map<std::string, std::string>& entries) {
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const fs::path name = prefix / entry.path().filename();
        entries[name.string()] = Describe(entry.path());
        if (fs::is_directory(fs::symlink_status(entry.path())))
            AddEntries(entry.path(), name, entries);
    }
}

std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    AddEntries(folder, {}, entries);
    return entries;
}

TStringGrid SmallTable() {
    TStringGrid grid(3, 2);
    grid.SetCell(0, 0, "№");
    grid.SetCell(1, 1, "Опора");
    return grid;
}

struct TExportTargetCase {
    const char* Name;
    // Makes the target inside the folder and returns the path the export is given.
    std::function<fs::path(const fs::path& folder)> Make;
    bool DiskFull;
    // The message for the path given; empty for the refusal of a path that is not a file.
    std::string Reason;
};

void PrintTo(const TExportTargetCase& c, std::ostream* os) {
    *os << c.Name;
}

fs::path ExistingFile(const fs::path& folder) {
    test::WriteText(folder / "labels.txt", kOldContent);
    return folder / "labels.txt";
}

fs::path LinkTo(const fs::path& folder, const fs::path& target) {
    fs::create_symlink(target, folder / "link.txt");
    return folder / "link.txt";
}

fs::path Fifo(const fs::path& folder) {
    const fs::path path = folder / "pipe";
    if (::mkfifo(path.c_str(), 0600) != 0) ADD_FAILURE() << "mkfifo failed";
    return path;
}

class ExportTargetTest : public ::testing::TestWithParam<TExportTargetCase> {};

TEST_P(ExportTargetTest, LeavesTheTargetAsItWasAndReports) {
    test::TTempFolder folder;
    const fs::path path = GetParam().Make(folder.Path());
    const auto before = Snapshot(folder.Path());
    const std::string targetBefore = Describe(path);

    try {
        ExportGridToFile(SmallTable(), path.string(),
                         GetParam().DiskFull ? FullDiskAfter(10) : TFileWriteCall());
        FAIL() << "no error";
    } catch (const TProgramError& e) {
        const std::string expected =
            GetParam().Reason.empty()
                ? NotRegularFileMessage(path.string())
                : "Cannot create file \"" + path.string() + "\". " + GetParam().Reason;
        EXPECT_EQ(std::string(e.what()), expected);
    }

    EXPECT_EQ(Describe(path), targetBefore);
    EXPECT_EQ(Snapshot(folder.Path()), before);  // nothing changed, no temporary file left
}

INSTANTIATE_TEST_SUITE_P(
    Targets, ExportTargetTest,
    ::testing::Values(
        TExportTargetCase{"ExistingFileOnAFullDisk", ExistingFile, true, "No space left on device"},
        TExportTargetCase{"NewFileOnAFullDisk", [](const fs::path& f) { return f / "new.txt"; },
                          true, "No space left on device"},
        TExportTargetCase{"SymlinkOnAFullDisk",
                          [](const fs::path& f) { return LinkTo(f, ExistingFile(f)); }, true,
                          "No space left on device"},
        TExportTargetCase{"DeviceNode", [](const fs::path&) { return fs::path("/dev/null"); },
                          false, ""},
        TExportTargetCase{"SymlinkToADeviceNode",
                          [](const fs::path& f) { return LinkTo(f, "/dev/null"); }, false, ""},
        TExportTargetCase{"Fifo", Fifo, false, ""},
        TExportTargetCase{"Folder",
                          [](const fs::path& f) {
                              fs::create_directory(f / "sub");
                              test::WriteText(f / "sub" / "kept.txt", kOldContent);
                              return f / "sub";
                          },
                          false, ""},
        TExportTargetCase{"MissingFolder", [](const fs::path& f) { return f / "none" / "a.txt"; },
                          false, "No such file or directory"},
        TExportTargetCase{"SymlinkLoop",
                          [](const fs::path& f) {
                              fs::create_symlink(f / "b", f / "a");
                              fs::create_symlink(f / "a", f / "b");
                              return f / "a";
                          },
                          false, "Too many levels of symbolic links"}),
    [](const auto& info) { return info.param.Name; });

TEST(ExportTargetTest, RefusalNamesThePathInRussian) {
    EXPECT_EQ(NotRegularFileMessage("/dev/null"),
              "Таблица не записана: \"/dev/null\" - не обычный файл (папка, устройство или "
              "канал). Выберите другое имя файла.");
}

TEST(ExportTargetTest, FollowsASymlinkAndReplacesItsTarget) {
    test::TTempFolder folder;
    const fs::path target = ExistingFile(folder.Path());
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path link = LinkTo(folder.Path(), "labels.txt");

    ExportGridToFile(SmallTable(), link.string());

    EXPECT_EQ(Describe(link), "link:labels.txt");
    EXPECT_EQ(test::ReadText(target), BuildExportText(SmallTable()));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Snapshot(folder.Path()).size(), 2u);
}

TEST(ExportTargetTest, ADanglingSymlinkCreatesItsTarget) {
    test::TTempFolder folder;
    const fs::path link = LinkTo(folder.Path(), "made.txt");
    ExportGridToFile(SmallTable(), link.string());
    EXPECT_EQ(test::ReadText(folder / "made.txt"), BuildExportText(SmallTable()));
}

// An edit table with something in every cell of its first rows.
TStringGrid UsedEditTable() {
    TStringGrid grid(kEditColumns, kEditTableRows);
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < kEditColumns; ++col) grid.SetCell(col, row, "old");
    return grid;
}

void ExpectUnchanged(const TStringGrid& grid) {
    EXPECT_EQ(grid.ColCount(), kEditColumns);
    EXPECT_EQ(grid.RowCount(), kEditTableRows);
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < kEditColumns; ++col) ASSERT_EQ(grid.Cell(col, row), "old");
}

struct TSourceCase {
    const char* Name;
    std::function<fs::path(const fs::path& folder)> Make;
    bool Oversized;
};

void PrintTo(const TSourceCase& c, std::ostream* os) {
    *os << c.Name;
}

class TableSourceTest : public ::testing::TestWithParam<TSourceCase> {};

TEST_P(TableSourceTest, IsRefusedWithTheTableAsItWas) {
    test::TTempFolder folder;
    const std::string path = GetParam().Make(folder.Path()).string();
    TStringGrid grid = UsedEditTable();

    try {
        ImportDelimitedFile(grid, path, '\t');
        FAIL() << "no error";
    } catch (const TProgramError& e) {
        EXPECT_EQ(std::string(e.what()), GetParam().Oversized ? OversizedTableMessage(path)
                                                              : NotRegularTableMessage(path));
    }
    ExpectUnchanged(grid);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, TableSourceTest,
    ::testing::Values(TSourceCase{"EndlessDevice",
                                  [](const fs::path&) { return fs::path("/dev/zero"); }, false},
                      TSourceCase{"SymlinkToAnEndlessDevice",
                                  [](const fs::path& f) { return LinkTo(f, "/dev/zero"); }, false},
                      TSourceCase{"FifoWithoutWriter", Fifo, false},
                      TSourceCase{"OneByteOverTheLimit",
                                  [](const fs::path& f) {
                                      // A sparse file: its size counts, its pages are never
                                      // written.
                                      test::WriteText(f / "big.txt", "t\r\n");
                                      fs::resize_file(f / "big.txt", kMaxTableFileBytes + 1);
                                      return f / "big.txt";
                                  },
                                  true}),
    [](const auto& info) { return info.param.Name; });

TEST(TableSourceTest, RefusalsNameTheLimitInRussian) {
    EXPECT_EQ(OversizedTableMessage("a.txt"),
              "Таблица не импортирована: файл \"a.txt\" больше 64 МБ. Импортируется текстовый "
              "файл не больше 64 МБ.");
    EXPECT_EQ(NotRegularTableMessage("/dev/zero"),
              "Таблица не импортирована: \"/dev/zero\" - не обычный файл (устройство или канал). "
              "Импортируется обычный текстовый файл не больше 64 МБ.");
}

// One line of `fields` TAB-separated fields of three letters each.
std::string WideLine(int fields) {
    std::string line;
    for (int k = 0; k < fields; ++k) line += "abc\t";
    return line;
}

class WideLineTest : public ::testing::TestWithParam<int> {};

// Cells for the fields of the line, with room to grow, and for the titles: never a cell for
// every column of every row.
std::size_t CellBound(int fields) {
    return 2 * static_cast<std::size_t>(fields) + kEditColumns;
}

TEST_P(WideLineTest, ImportStoresOnlyTheCellsOfTheLine) {
    const int fields = GetParam();
    TStringGrid grid(kEditColumns, kEditTableRows);
    SetEditTableCaptions(grid);

    FillGridFromDelimitedText(grid, "titles\r\n" + WideLine(fields) + "\r\n", '\t');

    EXPECT_EQ(grid.ColCount(), fields);
    EXPECT_EQ(grid.RowCount(), kEditTableRows);
    EXPECT_EQ(grid.Cell(fields - 1, 1), "abc");
    EXPECT_EQ(grid.Cell(fields - 1, 2), "");
    EXPECT_LE(grid.CellCapacity(), CellBound(fields));
}

TEST_P(WideLineTest, PasteStoresOnlyTheCellsOfTheLine) {
    const int fields = GetParam();
    TStringGrid grid(kEditColumns, kEditTableRows);
    SetEditTableCaptions(grid);

    ASSERT_TRUE(PasteClipboardText(grid, WideLine(fields)));

    // The TAB after the last field ends one more, empty cell.
    EXPECT_EQ(grid.ColCount(), fields + 1);
    EXPECT_EQ(grid.RowCount(), kEditTableRows);
    EXPECT_EQ(grid.Cell(fields - 1, 1), "abc");
    EXPECT_LE(grid.CellCapacity(), CellBound(fields));
}

// A 16 KB line, and one of 110 KB, which took the whole table's width into every row.
INSTANTIATE_TEST_SUITE_P(Lines, WideLineTest, ::testing::Values(4000, 27500));

}  // namespace
}  // namespace trelvanox
