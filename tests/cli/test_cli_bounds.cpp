// The batch tool on outputs it must not destroy, table sources without an end, and commands
// that throw what nobody expected.

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <new>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "cli_run.h"
#include "common/cp1251.h"
#include "common/program_error.h"
#include "exchange/label_export.h"
#include "exchange/label_import.h"
#include "radargram_generator.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

namespace fs = std::filesystem;
using test::RunTool;
using test::TCliRun;

// A small radargram with labels, written into the folder.
fs::path Radargram(const fs::path& folder) {
    TGeneratorOptions options;
    options.TraceCount = 20;
    options.SampleCount = 4;
    options.LabelEvery = 5;
    const fs::path path = folder / "a.GPR2";
    test::WriteBytes(path, GenerateRadargramBytes(options));
    return path;
}

// What a path is: its kind, and the content of a file or the place a link names.
std::string Describe(const fs::path& path) {
    const fs::file_status status = fs::symlink_status(path);
    if (fs::is_regular_file(status)) return "file:" + test::ReadText(path);
    if (fs::is_symlink(status)) return "link:" + fs::read_symlink(path).string();
    return "kind:" + std::to_string(static_cast<int>(status.type()));
}

struct TOutputCase {
    const char* Name;
    std::function<fs::path(const fs::path& folder)> Make;
};

void PrintTo(const TOutputCase& c, std::ostream* os) {
    *os << c.Name;
}

class CliExportTargetTest : public ::testing::TestWithParam<TOutputCase> {};

TEST_P(CliExportTargetTest, RefusesAndLeavesTheTargetAsItWas) {
    test::TTempFolder folder;
    const fs::path radargram = Radargram(folder.Path());
    const fs::path out = GetParam().Make(folder.Path());
    const std::string before = Describe(out);

    const TCliRun run = RunTool({"export-labels", radargram.string(), out.string()});

    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.Err, NotRegularFileMessage(out.string()) + "\n");
    EXPECT_EQ(Describe(out), before);
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, CliExportTargetTest,
    ::testing::Values(TOutputCase{"DeviceNode",
                                  [](const fs::path&) { return fs::path("/dev/null"); }},
                      TOutputCase{"SymlinkToADeviceNode",
                                  [](const fs::path& f) {
                                      fs::create_symlink("/dev/null", f / "out.txt");
                                      return f / "out.txt";
                                  }},
                      TOutputCase{"Fifo",
                                  [](const fs::path& f) {
                                      EXPECT_EQ(::mkfifo((f / "pipe").c_str(), 0600), 0);
                                      return f / "pipe";
                                  }},
                      TOutputCase{"Folder",
                                  [](const fs::path& f) {
                                      fs::create_directory(f / "sub");
                                      return f / "sub";
                                  }}),
    [](const auto& info) { return info.param.Name; });

TEST(CliExportTargetTest, ReplacesTheFileBehindASymlink) {
    test::TTempFolder folder;
    const fs::path radargram = Radargram(folder.Path());
    test::WriteText(folder / "kept.txt", "old");
    fs::create_symlink("kept.txt", folder / "out.txt");

    const TCliRun run =
        RunTool({"export-labels", radargram.string(), (folder / "out.txt").string()});

    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(Describe(folder / "out.txt"), "link:kept.txt");
    const std::string title = EncodeCp1251("\"№ п/п\"\t");
    EXPECT_EQ(test::ReadText(folder / "kept.txt").substr(0, title.size()), title);
}

struct TSourceCase {
    const char* Name;
    std::function<fs::path(const fs::path& folder)> Make;
    bool Oversized;
};

void PrintTo(const TSourceCase& c, std::ostream* os) {
    *os << c.Name;
}

class CliTableSourceTest : public ::testing::TestWithParam<TSourceCase> {};

TEST_P(CliTableSourceTest, ApplyLabelsRefusesAndChangesNothing) {
    test::TTempFolder folder;
    const fs::path radargram = Radargram(folder.Path());
    const auto before = test::ReadBytes(radargram);
    const std::string table = GetParam().Make(folder.Path()).string();

    const TCliRun run = RunTool({"apply-labels", radargram.string(), table});

    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.Err, (GetParam().Oversized ? OversizedTableMessage(table)
                                             : NotRegularTableMessage(table)) +
                           "\n");
    EXPECT_EQ(test::ReadBytes(radargram), before);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, CliTableSourceTest,
    ::testing::Values(TSourceCase{"EndlessDevice",
                                  [](const fs::path&) { return fs::path("/dev/zero"); }, false},
                      TSourceCase{"Fifo",
                                  [](const fs::path& f) {
                                      EXPECT_EQ(::mkfifo((f / "pipe").c_str(), 0600), 0);
                                      return f / "pipe";
                                  },
                                  false},
                      TSourceCase{"Oversized",
                                  [](const fs::path& f) {
                                      test::WriteText(f / "big.txt", "t\r\n1\tA\r\n");
                                      fs::resize_file(f / "big.txt", kMaxTableFileBytes + 1);
                                      return f / "big.txt";
                                  },
                                  true}),
    [](const auto& info) { return info.param.Name; });

struct TThrowCase {
    const char* Name;
    int (*Run)(const TParsedArgs&, std::ostream&, std::ostream&);
    std::string Err;
};

void PrintTo(const TThrowCase& c, std::ostream* os) {
    *os << c.Name;
}

class CliExceptionTest : public ::testing::TestWithParam<TThrowCase> {};

TEST_P(CliExceptionTest, EndsTheCommandWithItsMessageAndOne) {
    const TCliCommand command{"throw", "throw", "throws", {}, 0, GetParam().Run};
    std::ostringstream out, err;
    EXPECT_EQ(RunCommand(command, {}, out, err), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), GetParam().Err);
}

INSTANTIATE_TEST_SUITE_P(
    Exceptions, CliExceptionTest,
    ::testing::Values(TThrowCase{"OutOfMemory",
                                 [](const TParsedArgs&, std::ostream&, std::ostream&) -> int {
                                     throw std::bad_alloc();
                                 },
                                 std::string(kOutOfMemoryMessage) + "\n"},
                      TThrowCase{"RealAllocationFailure",
                                 [](const TParsedArgs&, std::ostream&, std::ostream&) -> int {
                                     // More than any machine has: the allocation itself throws.
                                     std::vector<char> huge;
                                     huge.reserve(huge.max_size() / 2);
                                     return 0;
                                 },
                                 std::string(kOutOfMemoryMessage) + "\n"},
                      TThrowCase{"StandardException",
                                 [](const TParsedArgs&, std::ostream&, std::ostream&) -> int {
                                     throw std::out_of_range("index 7 out of range");
                                 },
                                 "index 7 out of range\n"},
                      TThrowCase{"ProgramError",
                                 [](const TParsedArgs&, std::ostream&, std::ostream&) -> int {
                                     throw TProgramError("Ошибка записи");
                                 },
                                 "Ошибка записи\n"}),
    [](const auto& info) { return info.param.Name; });

}  // namespace
}  // namespace trelvanox
