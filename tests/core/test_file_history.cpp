#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "document/file_history.h"
#include "faulty_radar_file.h"
#include "memory_radar_file.h"
#include "radar_image.h"
#include "radargram_changes.h"
#include "temp_folder.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace trelvanox {

static void PrintTo(THistoryStatus status, std::ostream* os) {
    *os << "status " << static_cast<int>(status);
}

namespace {

namespace fs = std::filesystem;
using test::TBytes;
using test::TFaultMode;
using test::TFaultPlan;
using test::TMemoryRadarFile;
using test::TRadargramChange;

const std::string kInterruptedNotice = "была прервана";
const std::string kSetAsideNotice = "Журнал не применён";
const std::string kHistoryDroppedNotice = "изменён другой программой";

// Journals that count their operations in plan and fail as it says.
TJournalFiles FaultyJournals(const std::shared_ptr<TFaultPlan>& plan) {
    const auto wrap = [plan](std::unique_ptr<TRadarFile> file) -> std::unique_ptr<TRadarFile> {
        if (!file) return nullptr;
        return std::make_unique<test::TFaultyRadarFile>(std::move(file), plan, "journal");
    };
    TJournalFiles files;
    files.Create = [wrap](const fs::path& path) { return wrap(CreateRadarFile(path)); };
    files.Open = [wrap](const fs::path& path) { return wrap(OpenRadarFileForReading(path)); };
    return files;
}

bool Contains(const std::vector<std::string>& messages, const std::string& part) {
    return messages.size() == 1 && messages[0].find(part) != std::string::npos;
}

std::vector<std::string> Descriptions(const std::vector<THistoryEntry>& entries) {
    std::vector<std::string> texts;
    for (const THistoryEntry& entry : entries) texts.push_back(entry.Description);
    return texts;
}

class HistoryFixture : public ::testing::Test {
  protected:
    // The change made on target through history; nothing when it crashed.
    std::optional<THistoryOutcome> Change(TFileHistory& history, TRadarFile& target,
                                          TMemoryRadarFile& reading, const TRadargramChange& c,
                                          bool keepStep = true) {
        TRadargram model;
        const TChangeWriter write = test::ChangeWriter(model, reading, c);
        try {
            return history.Change(path_, target, write, test::ChangeLabel(c), keepStep);
        } catch (const test::TCrash&) {
            return std::nullopt;
        }
    }
    std::optional<THistoryOutcome> Change(TFileHistory& history, TMemoryRadarFile& target,
                                          const TRadargramChange& c, bool keepStep = true) {
        return Change(history, target, target, c, keepStep);
    }

    // The process dies at the file's second write, with the change's journal promised: a dead
    // writer's pending journal for the next read. The double the crash came at, or nothing when
    // the change did not crash.
    const char* CrashAtTheSecondWrite(TMemoryRadarFile& target, const TRadargramChange& change) {
        auto plan = std::make_shared<TFaultPlan>();
        plan->Mode = TFaultMode::Crash;
        plan->FaultAt = 7;
        test::TFaultyRadarFile faulty(target, plan, "target");
        TFileHistory history(state_, kDefaultHistoryLimit, FaultyJournals(plan));
        if (Change(history, faulty, target, change)) return nullptr;
        return plan->FaultedFile;
    }

    std::vector<fs::path> StepFiles() const {
        std::vector<fs::path> files;
        // Every file in memory has the same identity, so any stands for the one of the test.
        const fs::path folder = TFileHistory(state_).FolderOf(path_, TMemoryRadarFile(TBytes{}));
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".step") files.push_back(entry.path());
        return files;
    }

    test::TTempFolder folder_;
    const fs::path state_ = folder_ / "state";
    const fs::path path_ = folder_ / "profile.gpr";
};

// ---- Faults at every operation of a change ----------------------------------------------------

class ChangeFaultTest
    : public HistoryFixture,
      public ::testing::WithParamInterface<std::tuple<TRadargramChange, TFaultMode>> {};

// For every operation a change makes on its journal or its file, a change that fails, stops or
// crashes there leaves, once the next read recovered the file, exactly the old bytes; the
// outcome says why, and the same change goes through afterwards.
TEST_P(ChangeFaultTest, EveryFaultEndsInTheOldBytesAfterRecovery) {
    const auto& [change, mode] = GetParam();
    const TBytes old = GenerateRadargramBytes(change.Options);
    const TBytes next = test::BytesAfter(old, change);

    std::uint64_t operations = 0;
    {
        test::TTempFolder clean;
        TMemoryRadarFile target(old);
        auto plan = std::make_shared<TFaultPlan>();
        test::TFaultyRadarFile faulty(target, plan, "target");
        TFileHistory history(clean / "state", kDefaultHistoryLimit, FaultyJournals(plan));
        const auto outcome = Change(history, faulty, target, change);
        ASSERT_TRUE(outcome);
        ASSERT_EQ(outcome->Status, THistoryStatus::Done);
        ASSERT_EQ(target.Bytes, next);
        operations = plan->Operations;
        ASSERT_GE(plan->Syncs, 3u) << "the journal twice, the file once";
    }

    // One past the last operation is the run without a fault.
    for (std::uint64_t n = 1; n <= operations + 1; ++n) {
        SCOPED_TRACE("fault at operation " + std::to_string(n) + " of " +
                     std::to_string(operations));
        fs::remove_all(state_);
        TMemoryRadarFile target(old);
        auto plan = std::make_shared<TFaultPlan>();
        plan->FaultAt = n;
        plan->Mode = mode;
        std::optional<THistoryOutcome> outcome;
        {
            test::TFaultyRadarFile faulty(target, plan, "target");
            TFileHistory history(state_, kDefaultHistoryLimit, FaultyJournals(plan));
            outcome = Change(history, faulty, target, change);
        }
        const std::string faulted = plan->FaultedFile ? plan->FaultedFile : "";
        const bool committed = outcome && outcome->Status == THistoryStatus::Done;
        EXPECT_EQ(committed, n > operations);
        EXPECT_EQ(outcome.has_value(), mode != TFaultMode::Crash || n > operations);
        if (outcome && !committed) {
            THistoryStatus expected = THistoryStatus::JournalFailed;
            if (faulted == "target")
                expected = mode == TFaultMode::Fail ? THistoryStatus::RolledBack
                                                    : THistoryStatus::Interrupted;
            EXPECT_EQ(outcome->Status, expected) << faulted;
            if (outcome->Status != THistoryStatus::Interrupted) {
                EXPECT_EQ(target.Bytes, old);
            }
        }
        // The journal was promised (and the file touched) once the file's first operation came.
        const bool pending =
            faulted == "target" && (!outcome || outcome->Status == THistoryStatus::Interrupted);

        // As after a restart: healthy files, a history that knows nothing but its folder.
        TFileHistory restarted(state_);
        const std::vector<std::string> notices = restarted.Recover(path_, target);
        EXPECT_EQ(target.Bytes, committed ? next : old);
        if (pending) {
            EXPECT_TRUE(Contains(notices, kInterruptedNotice)) << ::testing::PrintToString(notices);
        } else {
            EXPECT_EQ(notices, std::vector<std::string>{});
        }
        EXPECT_EQ(restarted.Entries(path_, target).size(), committed ? 1u : 0u);

        if (!committed) {
            const auto again = Change(restarted, target, change);
            ASSERT_TRUE(again);
            EXPECT_EQ(again->Status, THistoryStatus::Done);
            EXPECT_EQ(target.Bytes, next);
            EXPECT_EQ(restarted.Entries(path_, target).size(), 1u);
        }
        if (HasFailure()) break;  // one faulty operation tells enough
    }
}

std::string FaultCaseName(
    const ::testing::TestParamInfo<std::tuple<TRadargramChange, TFaultMode>>& info) {
    static const char* const kModes[] = {"Fail", "Stop", "Crash"};
    return test::ChangeName(std::get<0>(info.param)) +
           kModes[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Changes, ChangeFaultTest,
                         ::testing::Combine(::testing::ValuesIn(test::RadargramChanges()),
                                            ::testing::Values(TFaultMode::Fail, TFaultMode::Stop,
                                                              TFaultMode::Crash)),
                         FaultCaseName);

// A recovery that fails itself (the disk refuses a write) must leave the journal for the next
// read, not set it aside as if the file were another's.
TEST_F(HistoryFixture, ARecoveryThatFailsIsTriedAgainAtTheNextRead) {
    const TRadargramChange change = test::RadargramChanges()[2];  // one record per trace
    ASSERT_EQ(change.Name, "EveryCoordinate");
    const TBytes old = GenerateRadargramBytes(change.Options);
    TMemoryRadarFile target(old);
    {
        auto plan = std::make_shared<TFaultPlan>();
        plan->Mode = TFaultMode::Crash;
        plan->FaultAt = 20;  // the journal takes five operations; then the file's writes
        test::TFaultyRadarFile faulty(target, plan, "target");
        TFileHistory history(state_, kDefaultHistoryLimit, FaultyJournals(plan));
        ASSERT_FALSE(Change(history, faulty, target, change));
        ASSERT_STREQ(plan->FaultedFile, "target");
    }
    ASSERT_NE(target.Bytes, old);

    for (const std::uint64_t failingWrite : {1u, 7u}) {
        auto plan = std::make_shared<TFaultPlan>();
        plan->FaultAt = failingWrite;
        test::TFaultyRadarFile faulty(target, plan, "target");
        TFileHistory restarted(state_);
        const auto notices = restarted.Recover(path_, faulty);
        EXPECT_FALSE(Contains(notices, kSetAsideNotice)) << ::testing::PrintToString(notices);
    }
    {
        // Nothing may write over the waiting journal: it holds the only copy of the old bytes.
        TFileHistory history(state_);
        const std::vector<std::uint8_t> torn = target.Bytes;
        TJournalInfo label;
        label.Description = "Запись";
        EXPECT_EQ(history
                      .Change(
                          path_, target, [](TRadarFile&) { return true; }, label, true)
                      .Status,
                  THistoryStatus::Interrupted);
        EXPECT_EQ(history.Undo(path_, target).Status, THistoryStatus::Interrupted);
        EXPECT_EQ(target.Bytes, torn);
    }
    TFileHistory restarted(state_);
    EXPECT_TRUE(Contains(restarted.Recover(path_, target), kInterruptedNotice));
    EXPECT_EQ(target.Bytes, old);
}

// ---- Undo, redo and the steps kept ------------------------------------------------------------

// Steps of one GPR file: a header edit, zeroed traces, then the switch to GPR2.
TRadargramChange Edit(std::string name, std::function<void(TRadargram&)> edit,
                      TRadarLayout read = TRadarLayout::Gpr,
                      TRadarLayout write = TRadarLayout::Gpr) {
    TRadargramChange change = test::RadargramChanges()[3];  // a GPR file
    change.Name = std::move(name);
    change.Edit = std::move(edit);
    change.Options.Layout = read;
    change.WriteLayout = write;
    return change;
}

TRadargramChange ZeroTrace(std::uint32_t trace) {
    return Edit("Трасса " + std::to_string(trace),
                [trace](TRadargram& m) { std::ranges::fill(m.Samples(trace), 0.0f); });
}

const TRadargramChange kHeader =
    Edit("Заголовок", [](TRadargram& m) { m.Header().Permittivity = 3.5f; });
const TRadargramChange kSwitch = Edit(
    "Разметка", [](TRadargram&) {}, TRadarLayout::Gpr, TRadarLayout::Gpr2);

class HistoryTest : public HistoryFixture {
  protected:
    HistoryTest() : target_(GenerateRadargramBytes(kHeader.Options)) {}

    // Makes the changes one after another; returns the file's bytes before the first and after
    // each.
    std::vector<TBytes> Make(const std::vector<TRadargramChange>& changes) {
        std::vector<TBytes> states{target_.Bytes};
        for (const TRadargramChange& change : changes) {
            const auto outcome = Change(history_, target_, change);
            EXPECT_TRUE(outcome && outcome->Status == THistoryStatus::Done) << change.Name;
            states.push_back(target_.Bytes);
            EXPECT_EQ(states.back(), test::BytesAfter(states[states.size() - 2], change));
        }
        return states;
    }

    void ExpectStep(const THistoryOutcome& outcome, const TRadargramChange& change,
                    const TBytes& bytes, TRadarLayout layout) {
        EXPECT_EQ(outcome.Status, THistoryStatus::Done) << change.Name;
        EXPECT_EQ(outcome.Description, test::ChangeLabel(change).Description);
        EXPECT_EQ(outcome.Layout, layout) << change.Name;
        EXPECT_EQ(target_.Bytes, bytes) << change.Name;
    }

    std::vector<bool> AppliedFlags() {
        std::vector<bool> flags;
        for (const THistoryEntry& entry : history_.Entries(path_, target_))
            flags.push_back(entry.Applied);
        return flags;
    }

    TMemoryRadarFile target_;
    TFileHistory history_{state_};
};

TEST_F(HistoryTest, UndoAndRedoWalkTheStepsByteForByte) {
    const auto zero = ZeroTrace(5);
    const std::vector<TRadargramChange> changes = {kHeader, zero, kSwitch};
    const auto states = Make(changes);
    EXPECT_EQ(Descriptions(history_.Entries(path_, target_)),
              (std::vector<std::string>{test::ChangeLabel(kHeader).Description,
                                        test::ChangeLabel(zero).Description,
                                        test::ChangeLabel(kSwitch).Description}));

    ExpectStep(history_.Undo(path_, target_), kSwitch, states[2], TRadarLayout::Gpr);
    EXPECT_EQ(AppliedFlags(), (std::vector<bool>{true, true, false}));
    // Taking an undo back is a redo, and back and forth stays exact.
    ExpectStep(history_.Redo(path_, target_), kSwitch, states[3], TRadarLayout::Gpr2);
    ExpectStep(history_.Undo(path_, target_), kSwitch, states[2], TRadarLayout::Gpr);
    ExpectStep(history_.Undo(path_, target_), zero, states[1], TRadarLayout::Gpr);
    ExpectStep(history_.Undo(path_, target_), kHeader, states[0], TRadarLayout::Gpr);
    EXPECT_EQ(history_.Undo(path_, target_).Status, THistoryStatus::NothingToUndo);
    EXPECT_EQ(target_.Bytes, states[0]);
    EXPECT_EQ(AppliedFlags(), (std::vector<bool>{false, false, false}));

    // A history that survives a restart.
    TFileHistory restarted(state_);
    EXPECT_EQ(restarted.Recover(path_, target_), std::vector<std::string>{});
    ExpectStep(restarted.Redo(path_, target_), kHeader, states[1], TRadarLayout::Gpr);
    ExpectStep(restarted.Redo(path_, target_), zero, states[2], TRadarLayout::Gpr);
    ExpectStep(restarted.Redo(path_, target_), kSwitch, states[3], TRadarLayout::Gpr2);
    EXPECT_EQ(restarted.Redo(path_, target_).Status, THistoryStatus::NothingToUndo);
    EXPECT_EQ(target_.Bytes, states[3]);
}

// A change keeps only the old side and checksums of the new one; its first undo takes the new
// side from the file into a journal with both sides, which the redo and later undos use. Another
// program's edit found at that first undo is never reverted.
TEST_F(HistoryTest, TheFirstUndoKeepsTheNewSideForTheRedo) {
    const auto zero = ZeroTrace(5);
    const auto states = Make({zero});
    const auto steps = StepFiles();
    ASSERT_EQ(steps.size(), 1u);
    const auto kept = [&] {
        const auto journal = OpenRadarFileForReading(steps[0]);
        const auto info = journal ? ReadJournalInfo(*journal) : std::nullopt;
        return info && info->NewSideKept;
    };
    EXPECT_FALSE(kept());
    const auto written = fs::file_size(steps[0]);
    ExpectStep(history_.Undo(path_, target_), zero, states[0], TRadarLayout::Gpr);
    EXPECT_TRUE(kept());
    EXPECT_GT(fs::file_size(steps[0]), written);
    EXPECT_EQ(StepFiles().size(), 1u) << "the journal with both sides replaced the first";
    ExpectStep(history_.Redo(path_, target_), zero, states[1], TRadarLayout::Gpr);
    ExpectStep(history_.Undo(path_, target_), zero, states[0], TRadarLayout::Gpr);
    ExpectStep(history_.Redo(path_, target_), zero, states[1], TRadarLayout::Gpr);

    const auto again = Make({ZeroTrace(9)});
    TBytes edited = target_.Bytes;
    std::size_t changed = 0;
    while (again[0][changed] == again[1][changed]) ++changed;
    edited[changed] ^= 0x10;
    target_.Bytes = edited;
    TFileHistory restarted(state_);
    EXPECT_EQ(restarted.Undo(path_, target_).Status, THistoryStatus::HistoryLost);
    EXPECT_EQ(target_.Bytes, edited);
}

// The history folder's sync fails after its index was renamed: from the first sync on (the
// pending index, so the change is taken back) or from the second (the committed index, so the
// change is made).
struct TSyncFailure {
    std::string Name;
    int FailFrom = 1;  // the first index sync that fails, counted from 1
    THistoryStatus Status = THistoryStatus::Done;
};

void PrintTo(const TSyncFailure& failure, std::ostream* os) {
    *os << failure.Name;
}

class FolderSyncTest : public HistoryTest, public ::testing::WithParamInterface<TSyncFailure> {};

// A rename that happened is never taken for one that did not: the change is reported as made
// (with a warning) or as failed and taken back, and either way the next read finds the history
// as the change left it, every earlier step kept and no word of another program.
TEST_P(FolderSyncTest, ARenameThatHappenedIsNeverTakenForOneThatDidNot) {
    const TSyncFailure& failure = GetParam();
    const auto zero = ZeroTrace(5);
    const auto states = Make({zero});
    TJournalFiles files;
    int syncs = 0;
    files.SyncIndexFolder = [&](const fs::path&) { return ++syncs < failure.FailFrom; };
    TFileHistory failing(state_, kDefaultHistoryLimit, files);
    const auto nine = ZeroTrace(9);
    const auto outcome = Change(failing, target_, nine);
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->Status, failure.Status);
    const bool done = failure.Status == THistoryStatus::Done;
    EXPECT_EQ(outcome->Warning.empty(), !done);
    EXPECT_EQ(target_.Bytes, done ? test::BytesAfter(states[1], nine) : states[1]);

    TFileHistory restarted(state_);
    EXPECT_FALSE(restarted.NeedsRecovery(path_, target_));
    EXPECT_EQ(restarted.Recover(path_, target_), std::vector<std::string>{});
    EXPECT_EQ(restarted.Entries(path_, target_).size(), done ? 2u : 1u);
    if (done) ExpectStep(restarted.Undo(path_, target_), nine, states[1], TRadarLayout::Gpr);
    ExpectStep(restarted.Undo(path_, target_), zero, states[0], TRadarLayout::Gpr);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FolderSyncTest,
    ::testing::Values(TSyncFailure{"AfterThePendingIndex", 1, THistoryStatus::JournalFailed},
                      TSyncFailure{"AfterTheCommittedIndex", 2, THistoryStatus::Done}),
    [](const auto& info) { return info.param.Name; });

// The histories earlier versions wrote (journals of the second format, with both sides) are still
// undone and redone.
TEST_F(HistoryTest, AStepOfTheSecondFormatIsStillUndoneAndRedone) {
    const auto zero = ZeroTrace(5);
    const auto states = Make({zero});
    ASSERT_EQ(history_.Undo(path_, target_).Status, THistoryStatus::Done);
    ASSERT_EQ(history_.Redo(path_, target_).Status, THistoryStatus::Done);
    const fs::path step = StepFiles().at(0);
    TBytes journal = test::ReadBytes(step);
    journal[8] = 2;
    std::fill(journal.begin() + 232, journal.begin() + 240, 0);
    const std::uint64_t sum = XXH3_64bits(journal.data(), 248);
    std::memcpy(journal.data() + 248, &sum, 8);
    test::WriteBytes(step, journal);

    ExpectStep(history_.Undo(path_, target_), zero, states[0], TRadarLayout::Gpr);
    ExpectStep(history_.Redo(path_, target_), zero, states[1], TRadarLayout::Gpr);
    EXPECT_EQ(test::ReadBytes(step), journal) << "read, never rewritten";
}

TEST_F(HistoryTest, ANewChangeAfterAnUndoDropsTheUndoneSteps) {
    const auto first = ZeroTrace(5);
    const auto second = ZeroTrace(9);
    const auto other = ZeroTrace(12);
    const auto states = Make({first, second});
    ASSERT_EQ(history_.Undo(path_, target_).Status, THistoryStatus::Done);

    const auto after = Make({other});
    EXPECT_EQ(after[1], test::BytesAfter(states[1], other));
    EXPECT_EQ(history_.Redo(path_, target_).Status, THistoryStatus::NothingToUndo);
    EXPECT_EQ(Descriptions(history_.Entries(path_, target_)),
              (std::vector<std::string>{test::ChangeLabel(first).Description,
                                        test::ChangeLabel(other).Description}));
    EXPECT_EQ(StepFiles().size(), 2u);
    ExpectStep(history_.Undo(path_, target_), other, states[1], TRadarLayout::Gpr);
    ExpectStep(history_.Undo(path_, target_), first, states[0], TRadarLayout::Gpr);
}

TEST_F(HistoryTest, TheSizeLimitDropsTheOldestSteps) {
    const std::vector<TRadargramChange> changes = {ZeroTrace(1), ZeroTrace(2), ZeroTrace(3),
                                                   ZeroTrace(4)};
    auto states = Make({changes[0]});
    const std::uint64_t stepBytes = history_.Entries(path_, target_).at(0).BytesKept;
    ASSERT_GT(stepBytes, 256u);
    // Room for two steps of this size, not three.
    history_.SetLimit(2 * stepBytes + stepBytes / 2);
    for (std::size_t c = 1; c < changes.size(); ++c) states.push_back(Make({changes[c]})[1]);

    EXPECT_EQ(Descriptions(history_.Entries(path_, target_)),
              (std::vector<std::string>{test::ChangeLabel(changes[2]).Description,
                                        test::ChangeLabel(changes[3]).Description}));
    EXPECT_EQ(StepFiles().size(), 2u);
    ExpectStep(history_.Undo(path_, target_), changes[3], states[3], TRadarLayout::Gpr);
    ExpectStep(history_.Undo(path_, target_), changes[2], states[2], TRadarLayout::Gpr);
    EXPECT_EQ(history_.Undo(path_, target_).Status, THistoryStatus::NothingToUndo);
    EXPECT_EQ(target_.Bytes, states[2]);
}

TEST_F(HistoryTest, AChangeWithoutAStepClearsTheHistory) {
    Make({ZeroTrace(1), ZeroTrace(2)});
    const auto outcome = Change(history_, target_, ZeroTrace(3), false);
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->Status, THistoryStatus::Done);
    EXPECT_TRUE(history_.Entries(path_, target_).empty());
    EXPECT_TRUE(StepFiles().empty());
    EXPECT_EQ(history_.Undo(path_, target_).Status, THistoryStatus::NothingToUndo);
}

// Another program's edit makes every step a wrong undo: the history goes, said once.
TEST_F(HistoryTest, AnotherProgramsEditDropsTheHistoryOnce) {
    Make({kHeader, ZeroTrace(2)});
    target_.Bytes[target_.Bytes.size() - 1] ^= 0x5A;
    const std::byte extra{7};
    const std::span<const std::byte> slice(&extra, 1);
    ASSERT_TRUE(target_.WriteAt(target_.Bytes.size(), std::span(&slice, 1)));
    const TBytes edited = target_.Bytes;

    TFileHistory restarted(state_);
    EXPECT_TRUE(Contains(restarted.Recover(path_, target_), kHistoryDroppedNotice));
    EXPECT_EQ(restarted.Recover(path_, target_), std::vector<std::string>{});
    EXPECT_TRUE(restarted.Entries(path_, target_).empty());
    EXPECT_EQ(restarted.Undo(path_, target_).Status, THistoryStatus::NothingToUndo);
    EXPECT_EQ(target_.Bytes, edited);
}

TEST_F(HistoryTest, AnUndoAfterAnotherProgramsEditLosesTheHistoryAndTouchesNothing) {
    Make({kHeader});
    const std::byte extra{7};
    const std::span<const std::byte> slice(&extra, 1);
    ASSERT_TRUE(target_.WriteAt(target_.Bytes.size(), std::span(&slice, 1)));
    const TBytes edited = target_.Bytes;

    EXPECT_EQ(history_.Undo(path_, target_).Status, THistoryStatus::HistoryLost);
    EXPECT_EQ(target_.Bytes, edited);
    EXPECT_EQ(history_.Undo(path_, target_).Status, THistoryStatus::NothingToUndo);
}

// ---- A pending journal that does not describe the file any more -------------------------------

struct TForeignEdit {
    std::string Name;
    std::function<void(TMemoryRadarFile&, const TBytes& old, const TBytes& next)> Edit;
};

class ForeignFileTest : public HistoryFixture,
                        public ::testing::WithParamInterface<TForeignEdit> {};

TEST_P(ForeignFileTest, RecoverySetsThePendingJournalAsideAndSaysSo) {
    const TRadargramChange change = test::RadargramChanges()[1];
    const TBytes old = GenerateRadargramBytes(change.Options);
    const TBytes next = test::BytesAfter(old, change);
    TMemoryRadarFile target(old);
    ASSERT_STREQ(CrashAtTheSecondWrite(target, change), "target");
    GetParam().Edit(target, old, next);
    const TBytes edited = target.Bytes;

    TFileHistory restarted(state_);
    const fs::path folder = restarted.FolderOf(path_, target);
    const auto notices = restarted.Recover(path_, target);
    ASSERT_TRUE(Contains(notices, kSetAsideNotice)) << ::testing::PrintToString(notices);
    EXPECT_EQ(target.Bytes, edited);
    EXPECT_FALSE(fs::exists(folder));
    // The journal is kept where the message says.
    bool named = false;
    for (const auto& entry : fs::directory_iterator(folder.parent_path())) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(folder.filename().string() + ".rejected-")) continue;
        named = notices[0].find(entry.path().string()) != std::string::npos;
        EXPECT_TRUE(fs::exists(entry.path() / "index"));
    }
    EXPECT_TRUE(named) << notices[0];
    EXPECT_EQ(restarted.Recover(path_, target), std::vector<std::string>{});
}

// The history belongs to the file, not to its name: another file put at the path has none, and
// the journal of the file that was there is never applied to it.
TEST_F(HistoryFixture, AnotherFileAtThePathHasNoHistoryAndIsNotTouched) {
    const TRadargramChange change = test::RadargramChanges()[1];
    const TBytes old = GenerateRadargramBytes(change.Options);
    TMemoryRadarFile target(old);
    ASSERT_TRUE(CrashAtTheSecondWrite(target, change));
    TMemoryRadarFile other(target.Bytes);
    other.Inode = 9;
    TFileHistory restarted(state_);
    EXPECT_EQ(restarted.Recover(path_, other), std::vector<std::string>{});
    EXPECT_EQ(other.Bytes, target.Bytes);
    EXPECT_EQ(other.Stamp().ModifiedNs, 0);
    // The file the journal belongs to is still put right.
    EXPECT_TRUE(Contains(restarted.Recover(path_, target), kInterruptedNotice));
    EXPECT_EQ(target.Bytes, old);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, ForeignFileTest,
    ::testing::Values(
        TForeignEdit{"ByteNeitherSideHas",
                     [](TMemoryRadarFile& file, const TBytes& old, const TBytes& next) {
                         std::size_t i = 0;
                         while (old[i] == next[i]) ++i;
                         file.Bytes[i] = static_cast<std::uint8_t>(old[i] ^ next[i] ^ 0xFF);
                         if (file.Bytes[i] == old[i] || file.Bytes[i] == next[i])
                             file.Bytes[i] ^= 0x11;
                     }},
        TForeignEdit{"Truncated", [](TMemoryRadarFile& file, const TBytes& old,
                                     const TBytes&) { file.Bytes.resize(old.size() / 2); }}),
    [](const auto& info) { return info.param.Name; });

// ---- Journals that cannot be read, or are damaged ---------------------------------------------

// A journal whose reads fail from the given byte on, as a failing disk sector does.
class TUnreadableJournal final : public TRadarFile {
  public:
    TUnreadableJournal(std::unique_ptr<TRadarFile> inner, std::uint64_t readable)
        : inner_(std::move(inner)), readable_(readable) {}
    TFileStamp Stamp() const override { return inner_->Stamp(); }
    bool ReadAt(std::uint64_t offset, TReadSlices slices) override {
        std::uint64_t length = 0;
        for (const auto& slice : slices) length += slice.size();
        return offset + length <= readable_ && inner_->ReadAt(offset, slices);
    }
    bool WriteAt(std::uint64_t, TWriteSlices) override { return false; }
    bool Sync() override { return false; }
    bool Truncate(std::uint64_t) override { return false; }

  private:
    std::unique_ptr<TRadarFile> inner_;
    std::uint64_t readable_;
};

// Journals that open (or not) and then fail to read from the given byte on.
TJournalFiles UnreadableJournals(std::optional<std::uint64_t> readable) {
    TJournalFiles files;
    files.Open = [readable](const fs::path& path) -> std::unique_ptr<TRadarFile> {
        if (!readable) return nullptr;
        auto inner = OpenRadarFileForReading(path);
        if (!inner) return nullptr;
        return std::make_unique<TUnreadableJournal>(std::move(inner), *readable);
    };
    return files;
}

class JournalReadTest : public HistoryTest,
                        public ::testing::WithParamInterface<std::optional<std::uint64_t>> {};

// An error opening or reading a step's journal is said as such; it never drops the history nor
// blames another program, and the step can be undone once the journal reads again.
TEST_P(JournalReadTest, AnUnreadableStepIsReportedAndTheHistoryKept) {
    const auto zero = ZeroTrace(5);
    const auto states = Make({kHeader, zero});
    for (const bool undo : {true, false}) {
        if (!undo) {
            ASSERT_EQ(history_.Undo(path_, target_).Status, THistoryStatus::Done);
        }
        TFileHistory failing(state_, kDefaultHistoryLimit, UnreadableJournals(GetParam()));
        const TBytes before = target_.Bytes;
        const THistoryOutcome outcome =
            undo ? failing.Undo(path_, target_) : failing.Redo(path_, target_);
        EXPECT_EQ(outcome.Status, THistoryStatus::JournalUnreadable);
        EXPECT_NE(outcome.Detail.find(".step"), std::string::npos) << outcome.Detail;
        EXPECT_EQ(target_.Bytes, before);
        EXPECT_EQ(history_.Entries(path_, target_).size(), 2u);
    }
    ExpectStep(history_.Undo(path_, target_), kHeader, states[0], TRadarLayout::Gpr);
}

// A pending journal that cannot be read stays pending: the read says so, and restores the file
// once the journal reads again.
TEST_P(JournalReadTest, AnUnreadablePendingJournalWaitsForTheNextRead) {
    const TRadargramChange change = test::RadargramChanges()[1];
    const TBytes old = GenerateRadargramBytes(change.Options);
    TMemoryRadarFile target(old);
    ASSERT_TRUE(CrashAtTheSecondWrite(target, change));
    const TBytes torn = target.Bytes;
    TFileHistory failing(state_, kDefaultHistoryLimit, UnreadableJournals(GetParam()));
    const auto notices = failing.Recover(path_, target);
    EXPECT_TRUE(Contains(notices, "Не удалось прочитать журнал"))
        << ::testing::PrintToString(notices);
    EXPECT_EQ(target.Bytes, torn);
    TFileHistory healthy(state_);
    EXPECT_TRUE(Contains(healthy.Recover(path_, target), kInterruptedNotice));
    EXPECT_EQ(target.Bytes, old);
}

INSTANTIATE_TEST_SUITE_P(Faults, JournalReadTest,
                         ::testing::Values(std::nullopt, std::optional<std::uint64_t>{100},
                                           std::optional<std::uint64_t>{300}),
                         [](const auto& info) {
                             return info.param ? "ReadFailsAt" + std::to_string(*info.param)
                                               : std::string("OpenFails");
                         });

void FlipByte(const fs::path& file, std::uint64_t at) {
    TBytes bytes = test::ReadBytes(file);
    bytes.at(at) ^= 0x20;
    test::WriteBytes(file, bytes);
}

// A damaged step is never applied: it is set aside under a name the outcome gives, the file stays
// as it is, and the steps that cannot be reached without it go.
TEST_F(HistoryTest, ADamagedStepIsSetAsideAndNeverApplied) {
    const auto zero = ZeroTrace(5);
    const auto states = Make({kHeader, zero, ZeroTrace(7)});
    auto steps = StepFiles();
    std::sort(steps.begin(), steps.end());
    ASSERT_EQ(steps.size(), 3u);
    FlipByte(steps[1], fs::file_size(steps[1]) - 3);  // the second step's last new byte

    ExpectStep(history_.Undo(path_, target_), ZeroTrace(7), states[2], TRadarLayout::Gpr);
    const THistoryOutcome damaged = history_.Undo(path_, target_);
    EXPECT_EQ(damaged.Status, THistoryStatus::JournalDamaged);
    EXPECT_NE(damaged.Detail.find(".damaged-"), std::string::npos) << damaged.Detail;
    EXPECT_TRUE(fs::exists(damaged.Detail));
    EXPECT_EQ(target_.Bytes, states[2]);
    // The undone third step stays for a redo; the first and the damaged one are gone.
    EXPECT_EQ(AppliedFlags(), (std::vector<bool>{false}));
    EXPECT_EQ(history_.Undo(path_, target_).Status, THistoryStatus::NothingToUndo);
    ExpectStep(history_.Redo(path_, target_), ZeroTrace(7), states[3], TRadarLayout::Gpr);
}

TEST_F(HistoryFixture, ADamagedPendingJournalIsSetAsideAndTheFileLeftAsItIs) {
    const TRadargramChange change = test::RadargramChanges()[1];
    const TBytes old = GenerateRadargramBytes(change.Options);
    TMemoryRadarFile target(old);
    ASSERT_TRUE(CrashAtTheSecondWrite(target, change));
    const TBytes torn = target.Bytes;
    const TFileStamp tornStamp = target.Stamp();
    auto pending = StepFiles();
    ASSERT_EQ(pending.size(), 1u);
    FlipByte(pending[0], 300);
    TFileHistory restarted(state_);
    const auto notices = restarted.Recover(path_, target);
    ASSERT_TRUE(Contains(notices, "повреждён")) << ::testing::PrintToString(notices);
    EXPECT_NE(notices[0].find(pending[0].filename().string()), std::string::npos);
    EXPECT_EQ(target.Bytes, torn);
    EXPECT_EQ(target.Stamp(), tornStamp) << "nothing written";
    EXPECT_EQ(restarted.Recover(path_, target), std::vector<std::string>{});
}

// ---- Another program during a change -------------------------------------------------------

class ForeignChangeTest : public HistoryFixture, public ::testing::WithParamInterface<int> {};

// Another program's change while ours runs is found, not written over: while the change is
// compared (a write into the file), before the file is written and before the commit (another
// file put at the path). The change is refused, what it wrote taken back, no step is kept.
TEST_P(ForeignChangeTest, IsFoundAndNeverReverted) {
    const int phase = GetParam();
    const TRadargramChange change = test::RadargramChanges()[1];
    const TBytes old = GenerateRadargramBytes(change.Options);
    TMemoryRadarFile target(old);
    TRadargram model;
    const TChangeWriter write = test::ChangeWriter(model, target, change);
    TBytes foreign;
    const TChangeWriter racing = [&](TRadarFile& file) {
        if (!write(file)) return false;
        if (phase == 0) {
            const std::byte mark{0x5A};
            const std::span<const std::byte> slice(&mark, 1);
            target.WriteAt(10, std::span(&slice, 1));
            foreign = target.Bytes;
        }
        return true;
    };
    int checks = 0;
    const TPathCheck pathCheck = [&] { return ++checks != phase; };
    TFileHistory history(state_);
    const THistoryOutcome outcome =
        history.Change(path_, target, racing, test::ChangeLabel(change), true, {}, pathCheck);
    EXPECT_EQ(outcome.Status, THistoryStatus::ChangedOnDisk);
    EXPECT_EQ(target.Bytes, phase == 0 ? foreign : old);
    EXPECT_EQ(TFileHistory(state_).Recover(path_, target), std::vector<std::string>{});
    EXPECT_EQ(target.Bytes, phase == 0 ? foreign : old);
    EXPECT_TRUE(StepFiles().empty());
}

std::string PhaseName(const ::testing::TestParamInfo<int>& info) {
    static const char* const kPhases[] = {"WhileCompared", "BeforeTheFileIsWritten",
                                          "BeforeTheCommit"};
    return kPhases[info.param];
}

INSTANTIATE_TEST_SUITE_P(Phases, ForeignChangeTest, ::testing::Values(0, 1, 2), PhaseName);

class ForeignStepTest : public HistoryTest, public ::testing::WithParamInterface<int> {};

// Another file put at the path during an undo or a redo (found before the file is written or
// before the commit) is refused like a change: the file keeps its bytes, the step stays where it
// was and can be taken once the path is right again.
TEST_P(ForeignStepTest, LeavesTheFileAndTheStepAsTheyWere) {
    const int phase = GetParam();
    const auto zero = ZeroTrace(5);
    const auto states = Make({kHeader, zero});
    int checks = 0;
    const TPathCheck pathCheck = [&] { return ++checks != phase; };

    EXPECT_EQ(history_.Undo(path_, target_, {}, pathCheck).Status, THistoryStatus::ChangedOnDisk);
    EXPECT_EQ(target_.Bytes, states[2]);
    EXPECT_EQ(AppliedFlags(), (std::vector<bool>{true, true}));
    ExpectStep(history_.Undo(path_, target_), zero, states[1], TRadarLayout::Gpr);

    checks = 0;
    EXPECT_EQ(history_.Redo(path_, target_, {}, pathCheck).Status, THistoryStatus::ChangedOnDisk);
    EXPECT_EQ(target_.Bytes, states[1]);
    EXPECT_EQ(AppliedFlags(), (std::vector<bool>{true, false}));
    ExpectStep(history_.Redo(path_, target_), zero, states[2], TRadarLayout::Gpr);
}

std::string StepPhaseName(const ::testing::TestParamInfo<int>& info) {
    return info.param == 1 ? "BeforeTheFileIsWritten" : "BeforeTheCommit";
}

INSTANTIATE_TEST_SUITE_P(Phases, ForeignStepTest, ::testing::Values(1, 2), StepPhaseName);

}  // namespace
}  // namespace trelvanox
