#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "cli_run.h"
#include "model/radargram_io.h"
#include "radargram_generator.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

using TTraces = std::vector<std::vector<float>>;

// Every amplitude distinct, so that each command's effect shows sample by sample.
const TTraces kFile = {
    {1.0f, -150.0f, 0.5f}, {2.0f, 250.0f, -99.5f}, {3.0f, -3000.0f, 20.0f}, {4.0f, 15.0f, -0.25f}};

using TRun = test::TCliRun;

class CliAmplitudeTest : public ::testing::Test {
  protected:
    // A generated file of kFile's size whose samples are then set to kFile through the writer.
    void SetUp() override { Make(kFile, TRadarLayout::Gpr2); }

    void Make(const TTraces& traces, TRadarLayout layout) {
        TGeneratorOptions options;
        options.TraceCount = static_cast<std::uint32_t>(traces.size());
        options.SampleCount = static_cast<std::uint32_t>(traces.front().size());
        options.Layout = layout;
        options.LabelEvery = 2;
        test::WriteBytes(path_, GenerateRadargramBytes(options));
        TRadargram model;
        ASSERT_EQ(ReadRadargram(model, path_, layout).Code, 0);
        for (std::uint32_t t = 0; t < traces.size(); ++t)
            std::copy(traces[t].begin(), traces[t].end(), model.Samples(t).begin());
        ASSERT_EQ(WriteRadargram(model, path_, layout).Code, 0);
    }

    TRun Run(std::vector<std::string> args) {
        for (std::string& a : args) {
            if (a == "FILE") a = path_;
        }
        return test::RunTool(args);
    }

    TTraces Samples(TRadarLayout layout = TRadarLayout::Gpr2) const {
        TRadargram model;
        EXPECT_EQ(ReadRadargram(model, path_, layout).Code, 0);
        TTraces traces;
        for (std::uint32_t t = 0; t < model.Header().TraceCount; ++t) {
            const auto samples = model.Samples(t);
            traces.emplace_back(samples.begin(), samples.end());
        }
        return traces;
    }

    test::TTempFolder folder_;
    std::string path_ = (folder_ / "profile.GPR2").string();
};

struct TCommandCase {
    const char* Name;
    std::vector<std::string> Args;
    TTraces Expected;
};

void PrintTo(const TCommandCase& c, std::ostream* os) {
    *os << c.Name;
}

class CliAmplitudeCommandTest : public CliAmplitudeTest,
                                public ::testing::WithParamInterface<TCommandCase> {};

TEST_P(CliAmplitudeCommandTest, ChangesTheSamplesAndWritesTheFile) {
    const TRun run = Run(GetParam().Args);
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(Samples(), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliAmplitudeCommandTest,
    ::testing::Values(
        TCommandCase{"gain_below",
                     {"gain", "FILE", "--factor", "2", "--below", "100"},
                     {{2, -150, 1}, {4, 250, -199}, {6, -3000, 40}, {8, 30, -0.5}}},
        TCommandCase{"gain_above",
                     {"gain", "FILE", "--above", "200", "--factor", "0.5"},
                     {{1, -150, 0.5}, {2, 125, -99.5}, {3, -1500, 20}, {4, 15, -0.25}}},
        TCommandCase{"gain_between_negative_bound",
                     {"gain", "FILE", "--factor", "-1", "--between", "10", "-300"},
                     {{1, 150, 0.5}, {2, -250, 99.5}, {3, -3000, -20}, {4, -15, -0.25}}},
        TCommandCase{
            "gain_window",
            {"gain", "FILE", "--factor", "2", "--below", "1000", "--window", "1", "2", "1", "1"},
            {{1, -150, 0.5}, {2, 500, -99.5}, {3, -3000, 20}, {4, 15, -0.25}}},
        TCommandCase{
            "gain_window_beyond_the_file",
            {"gain", "FILE", "--factor", "2", "--below", "1", "--window", "3", "9", "2", "600"},
            {{1, -150, 0.5}, {2, 250, -99.5}, {3, -3000, 20}, {4, 15, -0.5}}},
        TCommandCase{"clip_both_stages",
                     {"clip", "FILE", "--max", "100", "--min", "50"},
                     {{0, -100, 0}, {0, 100, -99.5}, {0, -100, 0}, {0, 0, 0}}},
        TCommandCase{"clip_silencing_only",
                     {"clip", "FILE", "--min", "2"},
                     {{0, -150, 0}, {2, 250, -99.5}, {3, -3000, 20}, {4, 15, 0}}},
        TCommandCase{"clip_nothing", {"clip", "FILE"}, kFile},
        TCommandCase{"zero_traces",
                     {"zero-traces", "FILE", "1", "2"},
                     {{1, -150, 0.5}, {0, 0, 0}, {0, 0, 0}, {4, 15, -0.25}}},
        TCommandCase{"zero_traces_reversed", {"zero-traces", "FILE", "3", "1"}, kFile},
        TCommandCase{"zero_max",
                     {"zero-max", "FILE"},
                     {{1, -150, 0.5}, {2, 250, -99.5}, {3, 0, 20}, {4, 15, -0.25}}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CliAmplitudeTest, ClipWithZeroMaximumLeavesNegativeZeros) {
    ASSERT_EQ(Run({"clip", "FILE", "--max", "0"}).Code, 0);
    const TTraces after = Samples();
    for (std::size_t t = 0; t < kFile.size(); ++t) {
        for (std::size_t s = 0; s < kFile[t].size(); ++s) {
            EXPECT_EQ(after[t][s], 0.0f);
            EXPECT_EQ(std::signbit(after[t][s]), kFile[t][s] < 0) << t << "/" << s;
        }
    }
}

TEST_F(CliAmplitudeTest, ExtremesPrintsFieldAndLabelTexts) {
    const TRun run = Run({"extremes", "FILE"});
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "{\"MinAmplitude\":\"0.25\",\"MinPosition\":\"Трасса № 3 / Отсчет №2\","
              "\"MaxAmplitude\":\"3000\",\"MaxPosition\":\"Трасса № 2 / Отсчет №1\"}\n");
    EXPECT_EQ(Samples(), kFile);
}

TEST_F(CliAmplitudeTest, ExtremesOfAnAllZeroFileKeepTheStartLabels) {
    Make({{0.0f, -0.0f}, {0.0f, 0.0f}}, TRadarLayout::Gpr);
    const TRun run = Run({"extremes", "FILE", "--layout", "gpr"});
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "{\"MinAmplitude\":\"30000000\",\"MinPosition\":\"Трасса №_____/Отсчет №_____\","
              "\"MaxAmplitude\":\"0\",\"MaxPosition\":\"Трасса №_____/Отсчет №_____\"}\n");
}

TEST_F(CliAmplitudeTest, ReadsAndWritesTheGivenLayout) {
    Make({{1.0f, -8.0f}, {8.0f, 2.0f}}, TRadarLayout::Gpr);
    ASSERT_EQ(Run({"zero-max", "FILE", "--layout", "GPR"}).Code, 0);
    EXPECT_EQ(Samples(TRadarLayout::Gpr), (TTraces{{1.0f, 0.0f}, {8.0f, 2.0f}}));
}

struct TFailureCase {
    const char* Name;
    std::vector<std::string> Args;
    int Code;
    std::string Err;                 // the whole message, or its start for usage errors
    std::optional<TTraces> Written;  // what a stage that completed left in the file
};

void PrintTo(const TFailureCase& c, std::ostream* os) {
    *os << c.Name;
}

class CliAmplitudeFailureTest : public CliAmplitudeTest,
                                public ::testing::WithParamInterface<TFailureCase> {};

TEST_P(CliAmplitudeFailureTest, ReportsAndLeavesTheFile) {
    const TFailureCase& c = GetParam();
    const std::vector<std::uint8_t> before = test::ReadBytes(path_);
    const TRun run = Run(c.Args);
    EXPECT_EQ(run.Code, c.Code);
    EXPECT_EQ(run.Err.substr(0, c.Err.size()), c.Err);
    EXPECT_EQ(run.Out, "");
    if (c.Written)
        EXPECT_EQ(Samples(), *c.Written);
    else
        EXPECT_EQ(test::ReadBytes(path_), before);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, CliAmplitudeFailureTest,
    ::testing::Values(
        TFailureCase{"comma_factor",
                     {"gain", "FILE", "--factor", "1,5", "--below", "100"},
                     1,
                     "'1,5' is not a valid floating point value\n",
                     std::nullopt},
        TFailureCase{
            "window_text",
            {"gain", "FILE", "--factor", "2", "--below", "1", "--window", "a", "1", "0", "0"},
            1,
            "'a' is not a valid integer value\n",
            std::nullopt},
        TFailureCase{"silencing_level_after_written_clipping",
                     {"clip", "FILE", "--max", "100", "--min", ""},
                     1,
                     "'' is not a valid floating point value\n",
                     TTraces{{1, -100, 0.5}, {2, 100, -99.5}, {3, -100, 20}, {4, 15, -0.25}}},
        TFailureCase{"last_trace",
                     {"zero-traces", "FILE", "0", "x"},
                     1,
                     "'x' is not a valid integer value\n",
                     std::nullopt},
        TFailureCase{
            "no_factor", {"gain", "FILE", "--below", "1"}, 2, "trelvanox-cli gain: ", std::nullopt},
        TFailureCase{"two_modes",
                     {"gain", "FILE", "--factor", "2", "--below", "1", "--above", "5"},
                     2,
                     "trelvanox-cli gain: ",
                     std::nullopt},
        TFailureCase{
            "no_mode", {"gain", "FILE", "--factor", "2"}, 2, "trelvanox-cli gain: ", std::nullopt},
        TFailureCase{"short_window",
                     {"gain", "FILE", "--factor", "2", "--below", "1", "--window", "1", "2"},
                     2,
                     "trelvanox-cli gain: ",
                     std::nullopt},
        TFailureCase{"one_trace_bound",
                     {"zero-traces", "FILE", "1"},
                     2,
                     "trelvanox-cli zero-traces: ",
                     std::nullopt}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CliAmplitudeTest, MissingFileIsReported) {
    const TRun run = Run({"extremes", path_ + ".missing"});
    EXPECT_EQ(run.Code, 1);
    EXPECT_FALSE(run.Err.empty());
    EXPECT_EQ(run.Out, "");
}

}  // namespace
}  // namespace trelvanox
