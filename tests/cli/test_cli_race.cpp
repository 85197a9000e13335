#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "cli_child.h"
#include "cli_run.h"
#include "model/radar_file_lock.h"
#include "radar_image.h"
#include "radargram_generator.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

namespace fs = std::filesystem;
using test::TBytes;
using test::TChild;

const std::vector<std::string> kGain = {"gain", "FILE", "--factor", "2", "--below", "1000000"};
const std::vector<std::string> kHeader = {"header", "FILE", "--operator", "Иванов"};
const std::string kBusy = "другой процесс Trelvanox";
const std::string kRecovered = "была прервана";

// Two or more batch-tool processes on one file, each run in a folder of its own.
class CliRaceTest : public ::testing::Test {
  protected:
    void Generate(std::uint32_t traces) {
        TGeneratorOptions options;
        options.TraceCount = traces;
        options.SampleCount = 512;
        options.LabelEvery = 50;
        GenerateRadargram(original_, options);
    }

    // Runs the command (FILE standing for path) as a child; Wait() gives its exit code.
    std::unique_ptr<TChild> Start(std::vector<std::string> args, const fs::path& path,
                                  const fs::path& state) {
        std::replace(args.begin(), args.end(), std::string("FILE"), path.string());
        return std::make_unique<TChild>(args, state, folder_ / ("err-" + std::to_string(++runs_)));
    }

    int Run(const std::vector<std::string>& args, const fs::path& path, const fs::path& state) {
        const auto child = Start(args, path, state);
        const int code = child->Wait();
        EXPECT_EQ(code, 0) << child->Err();
        return code;
    }

    // The file after the commands, one after the other.
    TBytes After(const std::vector<std::vector<std::string>>& commands) {
        const fs::path path = folder_ / "sequential.GPR2";
        fs::copy_file(original_, path, fs::copy_options::overwrite_existing);
        for (const auto& args : commands) Run(args, path, folder_ / "state-sequential");
        const TBytes bytes = test::ReadBytes(path);
        fs::remove(path);
        fs::remove_all(folder_ / "state-sequential");
        return bytes;
    }

    test::TTempFolder folder_;
    const fs::path original_ = folder_ / "original.GPR2";
    int runs_ = 0;
};

// A whole-file gain and a header edit started together: the second waits for the first, reads
// the file as the first left it and changes that, so both edits land, in either order, and both
// are steps of the history that undo walks back to the original.
TEST_F(CliRaceTest, AGainAndAHeaderEditAtOnceBothLandAndBothAreSteps) {
    Generate(1000);
    const TBytes before = test::ReadBytes(original_);
    const TBytes gainFirst = After({kGain, kHeader});
    const TBytes headerFirst = After({kHeader, kGain});
    ASSERT_NE(gainFirst, before);

    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const fs::path path = folder_ / ("race-" + std::to_string(round) + ".GPR2");
        const fs::path state = folder_ / ("state-" + std::to_string(round));
        fs::copy_file(original_, path);
        const auto gain = Start(kGain, path, state);
        if (round % 2 == 1) std::this_thread::sleep_for(std::chrono::milliseconds(5 * round));
        const auto header = Start(kHeader, path, state);
        EXPECT_EQ(gain->Wait(), 0) << gain->Err();
        EXPECT_EQ(header->Wait(), 0) << header->Err();
        const TBytes after = test::ReadBytes(path);
        EXPECT_TRUE(after == gainFirst || after == headerFirst) << "an edit was lost";

        // Two undos at once: each takes one step back, neither the same one.
        const auto undo1 = Start({"undo", "FILE"}, path, state);
        const auto undo2 = Start({"undo", "FILE"}, path, state);
        EXPECT_EQ(undo1->Wait(), 0) << undo1->Err();
        EXPECT_EQ(undo2->Wait(), 0) << undo2->Err();
        EXPECT_EQ(test::ReadBytes(path), before) << "both steps taken back";
        fs::remove(path);
        if (HasFailure()) break;
    }
}

// A read while a change writes waits for it: it never takes the live writer's journal for a
// dead one's, and the change completes as if alone.
TEST_F(CliRaceTest, AReadDuringAWriteWaitsAndNeverRollsItBack) {
    Generate(8000);
    const auto start = std::chrono::steady_clock::now();
    const TBytes gained = After({kGain});
    const auto runMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
    for (const int percent : {20, 40, 60, 80}) {
        SCOPED_TRACE("read after " + std::to_string(percent) + "% of a gain");
        const fs::path path = folder_ / ("read-" + std::to_string(percent) + ".GPR2");
        const fs::path state = folder_ / ("state-read-" + std::to_string(percent));
        fs::copy_file(original_, path);
        const auto gain = Start(kGain, path, state);
        std::this_thread::sleep_for(std::chrono::milliseconds(runMs * percent / 100));
        const auto info = Start({"info", "FILE"}, path, state);
        EXPECT_EQ(info->Wait(), 0) << info->Err();
        EXPECT_EQ(gain->Wait(), 0) << gain->Err();
        EXPECT_EQ(info->Err().find(kRecovered), std::string::npos) << info->Err();
        EXPECT_EQ(test::ReadBytes(path), gained);
        fs::remove(path);
    }
}

// Another Trelvanox process holding the file past the wait: the change gives up with the
// message that says so and changes nothing; within the wait it goes through.
TEST_F(CliRaceTest, AChangeWaitsForTheFileThenGivesUpWithoutTouchingIt) {
    Generate(100);
    const fs::path path = folder_ / "held.GPR2";
    fs::copy_file(original_, path);
    const TBytes before = test::ReadBytes(path);
    const fs::path state = folder_ / "state-held";
    TLockStatus status{};
    auto lock =
        TRadarFileLock::Acquire(path, TLockKind::Exclusive, std::chrono::milliseconds(0), status);
    ASSERT_EQ(status, TLockStatus::Locked);

    std::vector<std::string> impatient = kHeader;
    impatient.insert(impatient.end(), {"--wait", "0.3"});
    const auto refused = Start(impatient, path, state);
    EXPECT_EQ(refused->Wait(), 1);
    EXPECT_NE(refused->Err().find(kBusy), std::string::npos) << refused->Err();
    EXPECT_EQ(test::ReadBytes(path), before);
    const auto reader = Start({"info", "FILE", "--wait", "0"}, path, state);
    EXPECT_EQ(reader->Wait(), 1) << "a read waits for a change in progress";

    const auto patient = Start(kHeader, path, state);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    lock = {};
    EXPECT_EQ(patient->Wait(), 0) << patient->Err();
    EXPECT_NE(test::ReadBytes(path), before);

    // Readers share the file.
    auto shared =
        TRadarFileLock::Acquire(path, TLockKind::Shared, std::chrono::milliseconds(0), status);
    ASSERT_EQ(status, TLockStatus::Locked);
    EXPECT_EQ(Run({"info", "FILE", "--wait", "0"}, path, state), 0);
}

TEST_F(CliRaceTest, AWaitThatIsNoNumberOfSecondsIsAUsageError) {
    Generate(10);
    for (const char* wait : {"-1", "soon", "1e9", "", "5s"}) {
        const test::TCliRun run = test::RunTool({"info", original_.string(), "--wait", wait});
        EXPECT_EQ(run.Code, 2) << wait;
        EXPECT_NE(run.Err.find("--wait"), std::string::npos) << run.Err;
    }
    EXPECT_EQ(test::RunTool({"info", original_.string(), "--wait", "2.5"}).Code, 0);
}

}  // namespace
}  // namespace trelvanox
