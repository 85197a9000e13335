#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "document/radargram_document.h"
#include "radar_image.h"
#include "radargram_generator.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

namespace fs = std::filesystem;
using test::TBytes;

// What another program does to the file between the document's read and its write.
struct TOutsideEdit {
    std::string Name;
    std::function<void(const fs::path&)> Edit;
    std::string Reason;  // the part of the refusal that names what changed
};

void PrintTo(const TOutsideEdit& edit, std::ostream* os) {
    *os << edit.Name;
}

class ChangedOnDiskTest : public ::testing::TestWithParam<TOutsideEdit> {
  protected:
    test::TTempFolder folder_;
    const fs::path path_ = folder_ / "profile.GPR2";
    TRadargramDocument document_{folder_ / "state"};
};

TEST_P(ChangedOnDiskTest, AWriteAfterAnotherProgramsEditIsRefusedAndTouchesNothing) {
    TGeneratorOptions options;
    options.TraceCount = 30;
    options.SampleCount = 16;
    GenerateRadargram(path_, options);
    ASSERT_TRUE(document_.Open(path_, TRadarLayout::Gpr2).Ok());
    document_.Model().Header().Permittivity = 2.5f;

    GetParam().Edit(path_);
    const TBytes edited = test::ReadBytes(path_);
    const TDocumentResult result = document_.Write("Редактирование заголовка");

    EXPECT_TRUE(result.ChangedOnDisk);
    ASSERT_TRUE(result.Message);
    EXPECT_EQ(result.Message->Text.find("Файл изменён другой программой после чтения"), 0u)
        << result.Message->Text;
    EXPECT_NE(result.Message->Text.find(GetParam().Reason), std::string::npos)
        << result.Message->Text;
    EXPECT_EQ(test::ReadBytes(path_), edited);
    EXPECT_TRUE(document_.History().empty());
    // Reading it again is the way on.
    ASSERT_TRUE(document_.ReadAgain().Ok());
    document_.Model().Header().Permittivity = 2.5f;
    EXPECT_TRUE(document_.Write("Редактирование заголовка").Ok());
}

INSTANTIATE_TEST_SUITE_P(
    Edits, ChangedOnDiskTest,
    ::testing::Values(TOutsideEdit{"Grown",
                                   [](const fs::path& path) {
                                       fs::resize_file(path, fs::file_size(path) + 100);
                                   },
                                   "изменился размер файла"},
                      TOutsideEdit{"SameSizeNewerTime",
                                   [](const fs::path& path) {
                                       TBytes bytes = test::ReadBytes(path);
                                       bytes[500] ^= 0x44;
                                       const auto time = fs::last_write_time(path);
                                       test::WriteBytes(path, bytes);
                                       fs::last_write_time(path, time + std::chrono::seconds(2));
                                   },
                                   "изменено время изменения файла"},
                      TOutsideEdit{"AnotherFileSavedOver",
                                   [](const fs::path& path) {
                                       TGeneratorOptions other;
                                       other.TraceCount = 30;
                                       other.SampleCount = 16;
                                       other.Seed = 9;
                                       const fs::path fresh = path.string() + ".new";
                                       GenerateRadargram(fresh, other);
                                       fs::rename(fresh, path);
                                   },
                                   "по этому пути теперь другой файл"}),
    [](const auto& info) { return info.param.Name; });

class DocumentChangeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TGeneratorOptions options;
        options.TraceCount = 3000;
        options.SampleCount = 64;
        GenerateRadargram(path_, options);
        before_ = test::ReadBytes(path_);
        ASSERT_TRUE(document_.Open(path_, TRadarLayout::Gpr2).Ok());
        const auto samples = document_.Model().Samples(5);
        trace_.assign(samples.begin(), samples.end());
    }

    // Every sample doubled: a change of the whole file, long enough to report progress.
    static TModelEdit Gain() {
        return {"Усиление", [](TRadargram& model) {
                    for (std::uint32_t t = 0; t < model.Header().TraceCount; ++t)
                        for (float& sample : model.Samples(t)) sample *= 2;
                }};
    }

    test::TTempFolder folder_;
    const fs::path path_ = folder_ / "profile.GPR2";
    TRadargramDocument document_{folder_ / "state"};
    TBytes before_;
    std::vector<float> trace_;  // one trace's samples as read
};

// The progress of a change runs from 0 to 1 over the recording and the writing; a stop at any
// point leaves the file and the model as they were, and no step in the history.
TEST_F(DocumentChangeTest, ProgressRunsToTheEndAndAStopAnywhereTakesEverythingBack) {
    for (const double stopAt : {0.2, 0.7}) {
        SCOPED_TRACE("stopped at " + std::to_string(stopAt));
        std::vector<double> told;
        const TDocumentResult stopped = document_.Change(Gain(), [&](double fraction) {
            told.push_back(fraction);
            return fraction < stopAt;
        });
        EXPECT_TRUE(stopped.Cancelled);
        EXPECT_GT(told.size(), 2u);
        EXPECT_EQ(test::ReadBytes(path_), before_);
        EXPECT_TRUE(document_.History().empty());
        const auto samples = document_.Model().Samples(5);
        EXPECT_EQ(std::vector<float>(samples.begin(), samples.end()), trace_)
            << "the model is the file's again";
    }
    std::vector<double> told;
    const TDocumentResult done = document_.Change(Gain(), [&](double fraction) {
        told.push_back(fraction);
        return true;
    });
    ASSERT_TRUE(done.Ok() && !done.Cancelled);
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_GT(told.size(), 4u);
    EXPECT_DOUBLE_EQ(told.back(), 1.0);
    EXPECT_NE(test::ReadBytes(path_), before_);
    EXPECT_EQ(document_.History().size(), 1u);
}

// An undo or a redo stopped through its progress, before or after half way.
struct TStepStop {
    std::string Name;
    bool Undo = true;
    double StopAt = 0.5;
};

void PrintTo(const TStepStop& stop, std::ostream* os) {
    *os << stop.Name;
}

class StepStopTest : public DocumentChangeTest, public ::testing::WithParamInterface<TStepStop> {
  protected:
    // Which steps the history lists, and whether each is applied.
    std::vector<std::pair<std::string, bool>> Steps() {
        std::vector<std::pair<std::string, bool>> steps;
        for (const THistoryEntry& entry : document_.History())
            steps.emplace_back(entry.Description, entry.Applied);
        return steps;
    }
};

// A stop part way leaves the file's bytes, the model and the history as they were; the same
// step then goes through, with no word of another program.
TEST_P(StepStopTest, AStopTakesTheStepBackAndKeepsTheHistory) {
    const TStepStop& stop = GetParam();
    ASSERT_TRUE(document_.Change(Gain()).Ok());
    const TBytes changed = test::ReadBytes(path_);
    if (!stop.Undo) {
        ASSERT_TRUE(document_.Undo().Ok());
    }
    const TBytes before = test::ReadBytes(path_);
    const auto steps = Steps();
    const auto samples = document_.Model().Samples(5);
    const std::vector<float> trace(samples.begin(), samples.end());

    std::vector<double> told;
    const auto progress = [&](double fraction) {
        told.push_back(fraction);
        return fraction < stop.StopAt;
    };
    const TDocumentResult stopped = stop.Undo ? document_.Undo(progress) : document_.Redo(progress);
    EXPECT_TRUE(stopped.Cancelled);
    EXPECT_TRUE(stopped.Ok()) << stopped.Message->Text;
    EXPECT_GE(told.size(), 2u);
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_EQ(test::ReadBytes(path_), before);
    EXPECT_EQ(Steps(), steps);
    const auto kept = document_.Model().Samples(5);
    EXPECT_EQ(std::vector<float>(kept.begin(), kept.end()), trace);

    told.clear();
    const auto all = [&](double fraction) {
        told.push_back(fraction);
        return true;
    };
    const TDocumentResult done = stop.Undo ? document_.Undo(all) : document_.Redo(all);
    ASSERT_TRUE(done.Ok() && !done.Cancelled) << done.Message->Text;
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_DOUBLE_EQ(told.back(), 1.0);
    EXPECT_EQ(test::ReadBytes(path_), stop.Undo ? before_ : changed);
    EXPECT_TRUE(document_.Notices().empty());
}

INSTANTIATE_TEST_SUITE_P(Stops, StepStopTest,
                         ::testing::Values(TStepStop{"UndoWhileComparing", true, 0.25},
                                           TStepStop{"UndoHalfWritten", true, 0.75},
                                           TStepStop{"RedoWhileComparing", false, 0.25},
                                           TStepStop{"RedoHalfWritten", false, 0.75}),
                         [](const auto& info) { return info.param.Name; });

// The history follows the file, not its name: a change made through one hard link is undone
// through the other, and both names list the same step.
TEST_F(DocumentChangeTest, AHardLinksOtherNameFindsTheSameHistory) {
    const fs::path link = folder_ / "other-name.GPR2";
    fs::create_hard_link(path_, link);
    ASSERT_TRUE(document_.Change(Gain()).Ok());
    const TBytes changed = test::ReadBytes(path_);

    TRadargramDocument other(folder_ / "state");
    ASSERT_TRUE(other.Open(link, TRadarLayout::Gpr2).Ok());
    EXPECT_TRUE(other.Notices().empty());
    ASSERT_EQ(other.History().size(), 1u);
    ASSERT_TRUE(other.Undo().Ok());
    EXPECT_EQ(test::ReadBytes(path_), before_);
    ASSERT_TRUE(document_.ReadAgain().Ok());
    ASSERT_TRUE(document_.Redo().Ok());
    EXPECT_EQ(test::ReadBytes(link), changed);
}

}  // namespace
}  // namespace trelvanox
