#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_run.h"
#include "model/radargram_io.h"
#include "processing/chain_runner.h"
#include "processing/step_registry.h"
#include "radar_image.h"
#include "radargram_generator.h"
#include "segy_read_back.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

using test::RunTool;
using test::TBytes;
using test::TCliRun;

// A generated profile of 30 traces of 64 samples with layers, hyperbolas and noise.
class CliProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TGeneratorOptions options;
        options.TraceCount = 30;
        options.SampleCount = 64;
        options.LabelEvery = 7;
        GenerateRadargram(path_, options);
        original_ = test::ReadBytes(path_);
    }

    // What the core makes of the file's samples with the chain.
    std::vector<std::vector<float>> Expected(const std::string& chain) const {
        TRadargram model;
        EXPECT_EQ(ReadRadargram(model, path_, TRadarLayout::Gpr2).Code, 0);
        const auto processed = ProcessProfile(model, ParseChain(chain));
        std::vector<std::vector<float>> rows;
        for (std::uint32_t t = 0; t < processed->Count; ++t) {
            const auto row = processed->Trace(t);
            rows.emplace_back(row.begin(), row.end());
        }
        return rows;
    }

    std::string Chain() const {
        return std::string("zero=3,dewow=5,bgr=0,tpow=1.5") +
               (FindProcessingStep("envelope") ? ",envelope" : ",agc=9");
    }

    test::TTempFolder folder_;
    const std::string path_ = (folder_ / "profile.GPR2").string();
    TBytes original_;
};

TEST_F(CliProcessTest, ExportSegyWritesTheProcessedSamplesAndLeavesTheFile) {
    const auto out = folder_ / "processed.sgy";
    const TCliRun run = RunTool({"export-segy", path_, out.string(), "--process", Chain()});
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(test::ReadBytes(path_), original_);
    const test::TSegyContents segy = test::ReadSegy(out);
    EXPECT_EQ(segy.Traces, Expected(Chain()));
}

TEST_F(CliProcessTest, ProcessWritesTheChainAsOneStep) {
    const TCliRun run = RunTool({"process", path_, Chain()});
    ASSERT_EQ(run.Code, 0) << run.Err;
    const TBytes after = test::ReadBytes(path_);
    ASSERT_NE(after, original_);
    // Reading the processed file gives the processed samples, and nothing else changed: the
    // export of the processed file without a chain equals the export of the original with it.
    const auto viaChain = folder_ / "chain.sgy";
    const auto viaFile = folder_ / "file.sgy";
    ASSERT_EQ(RunTool({"export-segy", path_, viaFile.string(), "--no-labels"}).Code, 0);
    ASSERT_EQ(RunTool({"undo", path_}).Code, 0);
    EXPECT_EQ(test::ReadBytes(path_), original_);
    ASSERT_EQ(
        RunTool({"export-segy", path_, viaChain.string(), "--no-labels", "--process", Chain()})
            .Code,
        0);
    EXPECT_EQ(test::ReadSegy(viaFile).Traces, test::ReadSegy(viaChain).Traces);
    ASSERT_EQ(RunTool({"redo", path_}).Code, 0);
    EXPECT_EQ(test::ReadBytes(path_), after);
}

struct TBadChainCase {
    const char* Name;
    std::vector<std::string> Args;  // FILE and OUT stand for the test's files
    const char* Message;
};

void PrintTo(const TBadChainCase& c, std::ostream* os) {
    *os << c.Name;
}

class CliBadChainTest : public CliProcessTest,
                        public ::testing::WithParamInterface<TBadChainCase> {};

// A chain that cannot be read is bad usage: nothing is read, written or created.
TEST_P(CliBadChainTest, IsRefusedBeforeAnythingIsWritten) {
    std::vector<std::string> args = GetParam().Args;
    const auto out = folder_ / "out.file";
    for (std::string& a : args) {
        if (a == "FILE") a = path_;
        if (a == "OUT") a = out.string();
    }
    const TCliRun run = RunTool(args);
    EXPECT_EQ(run.Code, 2);
    EXPECT_NE(run.Err.find(GetParam().Message), std::string::npos) << run.Err;
    EXPECT_EQ(test::ReadBytes(path_), original_);
    EXPECT_FALSE(std::filesystem::exists(out));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliBadChainTest,
    ::testing::Values(
        TBadChainCase{"Process", {"process", "FILE", "dewow=14"}, "dewow=14: the window"},
        TBadChainCase{"ProcessUnknown", {"process", "FILE", "zero=1,wow=3"}, "'wow'"},
        TBadChainCase{"ProcessAllOff", {"process", "FILE", "-zero=1"}, "every step is off"},
        TBadChainCase{
            "Render", {"render", "FILE", "OUT", "--process", "agc=0"}, "--process: agc=0"},
        TBadChainCase{"ExportSegy",
                      {"export-segy", "FILE", "OUT", "--process", "bgr=4"},
                      "--process: bgr=4"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CliProcessTest, RenderDrawsTheProcessedProfileAndLeavesTheFile) {
    const auto plain = folder_ / "plain.png";
    const auto processed = folder_ / "processed.png";
    ASSERT_EQ(RunTool({"render", path_, plain.string()}).Code, 0);
    const TCliRun run = RunTool({"render", path_, processed.string(), "--process", "bgr=0,agc=5"});
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_NE(test::ReadBytes(plain), test::ReadBytes(processed));
    EXPECT_EQ(test::ReadBytes(path_), original_);
}

}  // namespace
}  // namespace trelvanox
