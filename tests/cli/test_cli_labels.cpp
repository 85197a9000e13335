#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli_run.h"
#include "document/radargram_document.h"
#include "labels/read_label_table.h"
#include "radar_image.h"
#include "radargram_generator.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

using test::RunTool;
using test::TBytes;
using test::TCliRun;

struct TShown {
    std::string Text;
    std::uint32_t Color = 0;
    std::int32_t Coordinate = 0;
    bool operator==(const TShown&) const = default;
};
using TLabels = std::map<std::uint32_t, TShown>;

void PrintTo(const TShown& s, std::ostream* os) {
    *os << "{" << s.Text << ", " << s.Color << ", " << s.Coordinate << "}";
}

// Labels on traces 0, 4, ..., 36 of 40; every other one without text.
class CliLabelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TGeneratorOptions options;
        options.TraceCount = 40;
        options.SampleCount = 16;
        options.LabelEvery = 4;
        options.ShareWithoutText = 0.5;
        GenerateRadargram(path_, options);
    }

    // The labels as a fresh read shows them; a label without text shows the empty text.
    TLabels Read() const {
        TRadargramDocument document(folder_ / "reader");
        EXPECT_TRUE(document.Open(path_, TRadarLayout::Gpr2).Ok());
        TLabels labels;
        for (const TReadLabelRow& row : ReadLabelRows(document.Model()))
            labels[row.Trace] = {row.Text.value_or(""), row.Color, row.Coordinate};
        return labels;
    }
    std::vector<std::int64_t> Chainages() const {
        TRadargramDocument document(folder_ / "reader");
        EXPECT_TRUE(document.Open(path_, TRadarLayout::Gpr2).Ok());
        std::vector<std::int64_t> chainages;
        for (const TTraceHeader& trace : document.Model().TraceHeaders())
            chainages.push_back(document.Model().Header().StartCoordinate + trace.Coordinate);
        return chainages;
    }

    TCliRun Tool(std::vector<std::string> args) const {
        args.insert(args.begin() + 1, path_);
        return RunTool(args);
    }

    test::TTempFolder folder_;
    const std::string path_ = (folder_ / "profile.GPR2").string();
};

TEST_F(CliLabelTest, EachCommandChangesTheLabelsItNamesAndNoOther) {
    TLabels expected = Read();

    ASSERT_EQ(Tool({"add-label", "39", "--text", "Конец", "--color", "65280"}).Code, 0);
    expected[39] = {"Конец", 65280, expected[36].Coordinate + 150};
    EXPECT_EQ(Read(), expected);

    ASSERT_EQ(Tool({"add-label", "1"}).Code, 0);
    expected[1] = {"", 0xFF0000, Read().at(1).Coordinate};
    EXPECT_EQ(Read(), expected);

    ASSERT_EQ(Tool({"move-label", "8", "10"}).Code, 0);
    expected[10] = expected[8];
    expected[10].Coordinate = Read().at(10).Coordinate;
    expected.erase(8);
    EXPECT_EQ(Read(), expected);

    ASSERT_EQ(Tool({"set-label", "10", "--color", "0x0000FF"}).Code, 0);
    expected[10].Color = 255;
    EXPECT_EQ(Read(), expected);

    ASSERT_EQ(Tool({"set-label", "4", "--text", "Переезд"}).Code, 0);
    expected[4].Text = "Переезд";
    EXPECT_EQ(Read(), expected);

    ASSERT_EQ(Tool({"delete-label", "0"}).Code, 0);
    expected.erase(0);
    EXPECT_EQ(Read(), expected);
}

struct TRefusal {
    std::string Name;
    std::vector<std::string> Args;
    int Code;
    std::string ErrPart;
};

void PrintTo(const TRefusal& c, std::ostream* os) {
    *os << c.Name;
}

class CliLabelRefusalTest : public CliLabelTest, public ::testing::WithParamInterface<TRefusal> {};

// Refused: the file and its history untouched, a message saying why.
TEST_P(CliLabelRefusalTest, LeavesTheFileAndItsHistoryAlone) {
    const TBytes before = test::ReadBytes(path_);
    const TCliRun run = Tool(GetParam().Args);
    EXPECT_EQ(run.Code, GetParam().Code);
    EXPECT_NE(run.Err.find(GetParam().ErrPart), std::string::npos) << run.Err;
    EXPECT_EQ(test::ReadBytes(path_), before);
    EXPECT_EQ(RunTool({"history", path_}).Out, "[]\n");
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, CliLabelRefusalTest,
    ::testing::Values(
        TRefusal{"AddBeyondTheFile", {"add-label", "40"}, 1, "от 0 до 39"},
        TRefusal{"AddNegativeTrace", {"add-label", "-1"}, 1, "Трассы -1 нет"},
        TRefusal{"AddOnALabel", {"add-label", "4"}, 1, "уже есть метка"},
        TRefusal{
            "AddTooLongText", {"add-label", "5", "--text", std::string(40, 'z')}, 1, "длиннее 39"},
        TRefusal{"AddBadColour", {"add-label", "5", "--color", "red"}, 2, "colour 'red'"},
        TRefusal{"MoveOntoALabel", {"move-label", "4", "8"}, 1, "уже есть метка"},
        TRefusal{"MoveNoLabel", {"move-label", "5", "6"}, 1, "нет метки"},
        TRefusal{"DeleteNoLabel", {"delete-label", "5"}, 1, "нет метки"},
        TRefusal{"SetNoLabel", {"set-label", "5", "--text", "x"}, 1, "нет метки"},
        TRefusal{"CalibrateOneAnchor", {"calibrate", "4=100"}, 1, "двух меток"},
        TRefusal{"CalibrateBothWays", {"calibrate", "0=0", "4=100", "8=50"}, 1, "строго"},
        TRefusal{"CalibrateNoPicket", {"calibrate", "0=0", "4=мост"}, 1, "не пикет"},
        TRefusal{"CalibrateNoEquals", {"calibrate", "0=0", "4"}, 2, "TRACE=CHAINAGE"},
        TRefusal{"CalibrateBadBase",
                 {"calibrate", "0=0", "4=1+00", "--base-pk", "0"},
                 1,
                 "Длина пикета"},
        TRefusal{"CalibrateOverflow", {"calibrate", "0=0", "1=1000000"}, 1, "32-битное"}),
    [](const auto& info) { return info.param.Name; });

TEST_F(CliLabelTest, AnEditThatChangesNothingWritesNothing) {
    const TBytes before = test::ReadBytes(path_);
    const TCliRun run = Tool({"move-label", "4", "4"});
    EXPECT_EQ(run.Code, 0);
    EXPECT_NE(run.Out.find("nothing to change"), std::string::npos);
    EXPECT_EQ(test::ReadBytes(path_), before);
    EXPECT_EQ(RunTool({"history", path_}).Out, "[]\n");
}

TEST_F(CliLabelTest, CalibrateMakesEveryChainageLinearBetweenAnchors) {
    const TCliRun run =
        Tool({"calibrate", "4=ПК1+20", "20=1+36", "36=ПК1+68", "--base-pk", "1000", "--set-start"});
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "traces 4 to 20: 100.000 cm per trace\ntraces 20 to 36: 200.000 cm per trace\n");
    const std::vector<std::int64_t> chainages = Chainages();
    for (std::int64_t t = 0; t < 40; ++t) {
        const std::int64_t expected = t <= 20 ? 1016000 + t * 1000 : 1036000 + (t - 20) * 2000;
        EXPECT_EQ(chainages[static_cast<std::size_t>(t)], expected) << "trace " << t;
    }
}

}  // namespace
}  // namespace trelvanox
