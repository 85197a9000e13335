#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "cli_child.h"
#include "radar_image.h"
#include "radargram_generator.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

namespace fs = std::filesystem;
using test::TBytes;
using test::TChild;

const std::string kRecovered = "была прервана";

// A whole-file gain killed at some moment of its work: whatever it had done, the next read puts
// the file back to the bytes before it or leaves the complete result, and says when it put
// something back.
TEST(CliKillTest, AGainKilledWhileItWritesIsRecoveredByTheNextRead) {
    test::TTempFolder folder;
    TGeneratorOptions options;
    options.TraceCount = 20000;
    options.SampleCount = 512;
    const fs::path original = folder / "survey.GPR2";
    GenerateRadargram(original, options);
    const TBytes before = test::ReadBytes(original);
    const std::vector<std::string> gain = {"--factor", "2", "--below", "1000000"};

    const fs::path finished = folder / "finished.GPR2";
    fs::copy_file(original, finished);
    std::vector<std::string> args = {"gain", finished.string()};
    args.insert(args.end(), gain.begin(), gain.end());
    const auto start = std::chrono::steady_clock::now();
    TChild complete(args, folder / "state-finished", folder / "finished.err");
    ASSERT_EQ(complete.Wait(), 0) << complete.Err();
    // The kills fall at spread moments of a run like this one: early ones catch the read or the
    // journal, later ones the file's own writes. Only the moments depend on the time taken.
    const auto runMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
    const TBytes gained = test::ReadBytes(finished);
    ASSERT_NE(gained, before);
    fs::remove(finished);

    for (const int percent : {30, 65, 75, 85, 95}) {
        const auto delayMs = std::max<std::int64_t>(5, runMs * percent / 100);
        SCOPED_TRACE("killed after " + std::to_string(delayMs) + " ms");
        const std::string name = "killed-at-" + std::to_string(percent) + "-percent";
        const fs::path path = folder / (name + ".GPR2");
        const fs::path state = folder / ("state-" + name);
        fs::copy_file(original, path);
        args[1] = path.string();
        TChild child(args, state, folder / (name + ".err"));
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        child.Kill();
        child.Wait();
        const TBytes left = test::ReadBytes(path);

        TChild info({"info", path.string()}, state, folder / (name + ".info.err"));
        ASSERT_EQ(info.Wait(), 0) << info.Err();
        const TBytes now = test::ReadBytes(path);
        const bool recovered = info.Err().find(kRecovered) != std::string::npos;

        EXPECT_TRUE(now == before || now == gained) << "a file neither before nor after the gain";
        if (recovered) {
            EXPECT_EQ(now, before) << info.Err();
        }
        if (left != before && left != gained) {
            EXPECT_TRUE(recovered) << "a torn file put back";
        }
        ::testing::Test::RecordProperty(name, left != before && left != gained ? "torn, recovered"
                                              : recovered     ? "journal pending, recovered"
                                              : now == gained ? "completed"
                                                              : "untouched");
        fs::remove(path);
    }
}

}  // namespace
}  // namespace trelvanox
