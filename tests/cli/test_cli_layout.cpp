#include <gtest/gtest.h>

#include "cli_run.h"
#include "radar_image.h"
#include "radargram_generator.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

using test::RunTool;
using test::TCliRun;

struct TLayoutCase {
    const char* Name;
    TRadarLayout FileLayout;
    std::vector<std::string> Options;
    bool Warns;
    int Code;  // a GPR file is too short for GPR2: that read fails
};

class CliLayoutTest : public ::testing::TestWithParam<TLayoutCase> {};

// A file that plainly has the other layout is named on stderr, and --layout auto reads it in the
// layout it fits.
TEST_P(CliLayoutTest, TheFileIsReadAsAskedWithAWarningOrAsItFits) {
    const TLayoutCase& c = GetParam();
    test::TTempFolder folder;
    TGeneratorOptions options;
    options.TraceCount = 300;
    options.SampleCount = 8;
    options.LabelEvery = 9;
    options.Layout = c.FileLayout;
    const std::string path = (folder / "file.bin").string();
    test::WriteBytes(path, GenerateRadargramBytes(options));
    std::vector<std::string> args{"info", path};
    args.insert(args.end(), c.Options.begin(), c.Options.end());

    const TCliRun run = RunTool(args);

    ASSERT_EQ(run.Code, c.Code) << run.Err;
    EXPECT_EQ(run.Err.find("warning: ") != std::string::npos, c.Warns) << run.Err;
    if (run.Code != 0) return;
    // Read in the right layout, the labels are those of the file.
    const TCliRun labels =
        RunTool({"info", path, "--layout", c.FileLayout == TRadarLayout::Gpr ? "gpr" : "gpr2"});
    EXPECT_EQ(run.Out == labels.Out, !c.Warns);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, CliLayoutTest,
    ::testing::Values(TLayoutCase{"Gpr2AsDefault", TRadarLayout::Gpr2, {}, false, 0},
                      TLayoutCase{"GprAsDefault", TRadarLayout::Gpr, {}, true, 1},
                      TLayoutCase{"Gpr2AsGpr", TRadarLayout::Gpr2, {"--layout", "gpr"}, true, 0},
                      TLayoutCase{"GprAuto", TRadarLayout::Gpr, {"--layout", "auto"}, false, 0},
                      TLayoutCase{"Gpr2Auto", TRadarLayout::Gpr2, {"--layout", "AUTO"}, false, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(CliLayoutTest, TheWarningNamesTheFileAndTheWayOut) {
    test::TTempFolder folder;
    TGeneratorOptions options;
    options.TraceCount = 40;
    options.SampleCount = 8;
    options.LabelEvery = 5;
    options.Layout = TRadarLayout::Gpr;
    const std::string path = (folder / "a.GPR").string();
    test::WriteBytes(path, GenerateRadargramBytes(options));
    const TCliRun run = RunTool({"info", path});
    EXPECT_NE(run.Err.find("warning: " + path + " looks like GPR, not GPR2"), std::string::npos)
        << run.Err;
    EXPECT_NE(run.Err.find("--layout gpr or --layout auto"), std::string::npos) << run.Err;
}

}  // namespace
}  // namespace trelvanox
