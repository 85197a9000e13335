#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_run.h"
#include "common/cp1251.h"
#include "radar_image.h"
#include "radargram_generator.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

using test::RunTool;
using test::TBytes;
using test::TCliRun;

const std::string kNothingToUndo = "Нет изменений для отмены.\n";
const std::string kHistoryLost = "Файл изменён другой программой после последнего изменения";

// One modifying command: its arguments (FILE and TABLE stand for the test's files), the layout
// the file is generated in, the layout options that read it after the command and after its
// undo, and the description of its history step.
struct TCommandCase {
    std::string Name;
    std::vector<std::string> Args;
    TRadarLayout Layout = TRadarLayout::Gpr2;
    std::vector<std::string> LayoutAfter;
    std::vector<std::string> LayoutBefore;
    std::string Description;
};

void PrintTo(const TCommandCase& c, std::ostream* os) {
    *os << c.Name;
}

const std::vector<std::string> kGpr = {"--layout", "gpr"};
const std::vector<std::string> kGpr2 = {"--layout", "gpr2"};

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

class CliHistoryTest : public ::testing::TestWithParam<TCommandCase> {
  protected:
    void SetUp() override {
        TGeneratorOptions options;
        options.TraceCount = 40;
        options.SampleCount = 64;
        options.Layout = GetParam().Layout;
        options.LabelEvery = 4;
        options.TrailingBytes = 3;
        GenerateRadargram(path_, options);
        // A row for each of the ten labels, semicolons, as a spreadsheet saves it.
        std::string table = "№;Подпись метки\r\n";
        for (int k = 1; k <= 10; ++k)
            table += std::to_string(k) + ";Метка " + std::to_string(k) + ";" +
                     std::to_string(3 * k) + ";" + std::to_string(k % 5) + "\r\n";
        test::WriteText(folder_ / "labels.txt", EncodeCp1251(table));
    }

    std::vector<std::string> Args(const std::vector<std::string>& more = {}) const {
        std::vector<std::string> args;
        for (const std::string& arg : GetParam().Args)
            args.push_back(arg == "FILE"    ? path_
                           : arg == "TABLE" ? (folder_ / "labels.txt").string()
                                            : arg);
        return With(args, more);
    }
    TCliRun Tool(const std::string& command, const std::vector<std::string>& layout) const {
        return RunTool(With({command, path_}, layout));
    }
    TBytes Now() const { return test::ReadBytes(path_); }

    test::TTempFolder folder_;
    const std::string path_ = (folder_ / "profile.GPR2").string();
};

TEST_P(CliHistoryTest, UndoAndRedoGiveTheBytesBeforeAndAfter) {
    const TCommandCase& c = GetParam();
    const TBytes before = Now();
    const TCliRun run = RunTool(Args());
    ASSERT_EQ(run.Code, 0) << run.Err;
    const TBytes after = Now();
    ASSERT_NE(after, before) << "the command must change the file";

    const TCliRun history = Tool("history", c.LayoutAfter);
    ASSERT_EQ(history.Code, 0) << history.Err;
    EXPECT_NE(history.Out.find("[{\"description\":\"" + c.Description + "\""), std::string::npos)
        << history.Out;
    EXPECT_NE(history.Out.find("\"state\":\"applied\"}]"), std::string::npos) << history.Out;

    const TCliRun undo = Tool("undo", c.LayoutAfter);
    ASSERT_EQ(undo.Code, 0) << undo.Err;
    EXPECT_EQ(undo.Err, "");
    EXPECT_EQ(Now(), before);
    EXPECT_NE(Tool("history", c.LayoutBefore).Out.find("\"state\":\"undone\"}]"),
              std::string::npos);

    const TCliRun redo = Tool("redo", c.LayoutBefore);
    ASSERT_EQ(redo.Code, 0) << redo.Err;
    EXPECT_EQ(Now(), after);
    // And back again: an undo of the redo.
    ASSERT_EQ(Tool("undo", c.LayoutAfter).Code, 0);
    EXPECT_EQ(Now(), before);
}

TEST_P(CliHistoryTest, WithoutHistoryTheChangeHasNoStep) {
    const TCommandCase& c = GetParam();
    const TCliRun run = RunTool(Args({"--no-history"}));
    ASSERT_EQ(run.Code, 0) << run.Err;
    const TBytes after = Now();

    const TCliRun history = Tool("history", c.LayoutAfter);
    EXPECT_EQ(history.Code, 0);
    EXPECT_EQ(history.Out, "[]\n");
    const TCliRun undo = Tool("undo", c.LayoutAfter);
    EXPECT_EQ(undo.Code, 1);
    EXPECT_EQ(undo.Err, kNothingToUndo);
    EXPECT_EQ(Now(), after);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliHistoryTest,
    ::testing::Values(
        TCommandCase{"Header",
                     {"header", "FILE", "--operator", "Петров", "--pk", "3"},
                     TRadarLayout::Gpr2,
                     kGpr2,
                     kGpr2,
                     "Редактирование заголовка"},
        TCommandCase{"ApplyLabels",
                     {"apply-labels", "FILE", "TABLE", "--delimiter", "semicolon"},
                     TRadarLayout::Gpr2,
                     kGpr2,
                     kGpr2,
                     "Редактирование меток"},
        TCommandCase{"ResetPositions",
                     {"reset-positions", "FILE"},
                     TRadarLayout::Gpr2,
                     kGpr2,
                     kGpr2,
                     "Сброс координат трасс"},
        TCommandCase{"ResetNames",
                     {"reset-names", "FILE"},
                     TRadarLayout::Gpr2,
                     kGpr2,
                     kGpr2,
                     "Сброс названия меток"},
        TCommandCase{"InsertLabel",
                     {"insert-label", "FILE", "--trace", "5"},
                     TRadarLayout::Gpr2,
                     kGpr2,
                     kGpr2,
                     "Вставка метки"},
        TCommandCase{"AddLabel",
                     {"add-label", "FILE", "5", "--text", "ПК3", "--color", "0x00FF00"},
                     TRadarLayout::Gpr2,
                     kGpr2,
                     kGpr2,
                     "Добавление метки на трассе 5"},
        TCommandCase{"MoveLabel",
                     {"move-label", "FILE", "4", "6"},
                     TRadarLayout::Gpr2,
                     kGpr2,
                     kGpr2,
                     "Перенос метки с трассы 4 на трассу 6"},
        TCommandCase{"DeleteLabel",
                     {"delete-label", "FILE", "0", "--layout", "gpr"},
                     TRadarLayout::Gpr,
                     kGpr,
                     kGpr,
                     "Удаление метки на трассе 0"},
        TCommandCase{"SetLabel",
                     {"set-label", "FILE", "36", "--text", "Мост"},
                     TRadarLayout::Gpr2,
                     kGpr2,
                     kGpr2,
                     "Изменение метки на трассе 36"},
        TCommandCase{"Calibrate",
                     {"calibrate", "FILE", "4=ПК1+20", "36=152.5", "--set-start"},
                     TRadarLayout::Gpr2,
                     kGpr2,
                     kGpr2,
                     "Пересчёт координат по меткам"},
        TCommandCase{"GainInAWindow",
                     {"gain", "FILE", "--factor", "2", "--below", "1000000", "--window", "3", "20",
                      "5", "40"},
                     TRadarLayout::Gpr2,
                     kGpr2,
                     kGpr2,
                     "Усиление амплитуд"},
        TCommandCase{"Clip",
                     {"clip", "FILE", "--max", "3000"},
                     TRadarLayout::Gpr2,
                     kGpr2,
                     kGpr2,
                     "Обрезка амплитуд"},
        TCommandCase{"ZeroTraces",
                     {"zero-traces", "FILE", "3", "7"},
                     TRadarLayout::Gpr2,
                     kGpr2,
                     kGpr2,
                     "Обнуление трасс"},
        TCommandCase{"GprToGpr2",
                     {"rewrite", "FILE", "--layout", "gpr", "--write-layout", "gpr2"},
                     TRadarLayout::Gpr,
                     kGpr2,
                     kGpr,
                     "Перезапись файла"},
        TCommandCase{"Gpr2ToGpr",
                     {"rewrite", "FILE", "--write-layout", "gpr"},
                     TRadarLayout::Gpr2,
                     kGpr,
                     kGpr2,
                     "Перезапись файла"},
        TCommandCase{"Process",
                     {"process", "FILE", "zero=2,dewow=5,bgr=0,tpow=1"},
                     TRadarLayout::Gpr2,
                     kGpr2,
                     kGpr2,
                     "Обработка: zero=2,dewow=5,bgr=0,tpow=1"},
        TCommandCase{"ProcessGpr",
                     {"process", "FILE", "bgr=3,agc=9", "--layout", "gpr"},
                     TRadarLayout::Gpr,
                     kGpr,
                     kGpr,
                     "Обработка: bgr=3,agc=9"},
        TCommandCase{
            "Pack", {"pack", "FILE"}, TRadarLayout::Gpr2, kGpr, kGpr2, "Удаление 0-разделителя"}),
    [](const auto& info) { return info.param.Name; });

// Another program's edit between two commands: every command reads the file afresh, so the
// next undo finds a history that no longer leads to the file, drops it and says so once.
class CliForeignEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TGeneratorOptions options;
        options.TraceCount = 30;
        options.SampleCount = 16;
        GenerateRadargram(path_, options);
    }
    test::TTempFolder folder_;
    const std::string path_ = (folder_ / "profile.GPR2").string();
};

TEST_F(CliForeignEditTest, TheNextUndoReportsTheLostHistoryOnceAndTouchesNothing) {
    ASSERT_EQ(RunTool({"header", path_, "--operator", "Петров"}).Code, 0);
    ASSERT_EQ(RunTool({"zero-traces", path_, "1", "2"}).Code, 0);
    // Same size, other bytes, and a modification time that tells: as another editor saves.
    TBytes edited = test::ReadBytes(path_);
    edited[edited.size() - 1] ^= 0x33;
    const auto time = std::filesystem::last_write_time(path_);
    test::WriteBytes(path_, edited);
    std::filesystem::last_write_time(path_, time + std::chrono::seconds(2));

    const TCliRun undo = RunTool({"undo", path_});
    EXPECT_EQ(undo.Code, 1);
    EXPECT_EQ(undo.Err.find(kHistoryLost), 0u) << undo.Err;
    EXPECT_TRUE(undo.Err.ends_with(kNothingToUndo)) << undo.Err;
    EXPECT_EQ(test::ReadBytes(path_), edited);

    const TCliRun again = RunTool({"undo", path_});
    EXPECT_EQ(again.Code, 1);
    EXPECT_EQ(again.Err, kNothingToUndo);
    EXPECT_EQ(RunTool({"history", path_}).Out, "[]\n");
    EXPECT_EQ(test::ReadBytes(path_), edited);
}

}  // namespace
}  // namespace trelvanox
