#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <tuple>

#include "document/write_journal.h"
#include "faulty_radar_file.h"
#include "memory_radar_file.h"
#include "radargram_changes.h"

namespace trelvanox {
namespace {

using test::TBytes;
using test::TMemoryRadarFile;
using test::TRadargramChange;

// A change recorded into a journal in memory; the target keeps its old bytes.
struct TRecorded {
    TBytes Old;
    TBytes New;
    TMemoryRadarFile Journal{TBytes{}};
    std::optional<TJournalInfo> Info;
};

std::unique_ptr<TRecorded> Record(const TRadargramChange& change) {
    auto recorded = std::make_unique<TRecorded>();
    recorded->Old = GenerateRadargramBytes(change.Options);
    recorded->New = test::BytesAfter(recorded->Old, change);
    TMemoryRadarFile target(recorded->Old);
    TRadargram model;
    const TChangeWriter write = test::ChangeWriter(model, target, change);
    recorded->Info = RecordChange(target, recorded->Journal, write, test::ChangeLabel(change));
    EXPECT_EQ(target.Bytes, recorded->Old) << "recording must not touch the file";
    return recorded;
}

// How many bytes differ between the two sides, counting growth as changed.
std::uint64_t Differing(const TBytes& old, const TBytes& next) {
    std::uint64_t count = next.size() > old.size() ? next.size() - old.size() : 0;
    for (std::size_t i = 0; i < std::min(old.size(), next.size()); ++i) count += old[i] != next[i];
    return count;
}

class JournalChangeTest : public ::testing::TestWithParam<TRadargramChange> {};

TEST_P(JournalChangeTest, RecordsTheDifferingBytesAndPutsEitherSideBackExactly) {
    const auto r = Record(GetParam());
    ASSERT_TRUE(r->Info);
    ASSERT_NE(r->Old, r->New) << "the change must alter the file";
    EXPECT_EQ(r->Info->Before.Size, r->Old.size());
    EXPECT_EQ(r->Info->NewSize, r->New.size());
    EXPECT_EQ(r->Info->Description, test::ChangeLabel(GetParam()).Description);
    EXPECT_EQ(ReadJournalInfo(r->Journal)->RecordCount, r->Info->RecordCount);
    // Short equal runs may be carried inside a record; every differing byte is in one.
    EXPECT_GE(r->Info->ChangedBytes, Differing(r->Old, r->New));
    EXPECT_EQ(r->Journal.Bytes.size(), 256 + r->Info->RecordCount * 24 + 2 * r->Info->ChangedBytes);
    EXPECT_EQ(VerifyJournal(r->Journal), TJournalState::Valid);

    TMemoryRadarFile target(r->Old);
    EXPECT_TRUE(HoldsSide(target, r->Journal, TJournalSide::Old));
    EXPECT_FALSE(HoldsSide(target, r->Journal, TJournalSide::New));
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(ApplyJournal(target, r->Journal, TJournalSide::New));
        EXPECT_EQ(target.Bytes, r->New) << "round " << round;
        EXPECT_TRUE(HoldsSide(target, r->Journal, TJournalSide::New));
        ASSERT_TRUE(ApplyJournal(target, r->Journal, TJournalSide::Old));
        EXPECT_EQ(target.Bytes, r->Old) << "round " << round;
    }
}

// Whatever part of a change reached the file before it stopped, the journal recognises the file
// as its own and takes it to either side exactly.
TEST_P(JournalChangeTest, AnyMixOfTheSidesMatchesAndGoesToEitherSide) {
    const auto r = Record(GetParam());
    ASSERT_TRUE(r->Info);
    std::vector<TBytes> mixes;
    // The new bytes up to a point, the old ones after: a write in order cut short.
    for (const std::size_t cut :
         {std::size_t{1}, r->Old.size() / 3, r->Old.size() - 1, r->New.size() - 1}) {
        TBytes mix = r->Old;
        mix.resize(std::max(r->Old.size(), cut), 0);
        std::copy(r->New.begin(), r->New.begin() + static_cast<std::ptrdiff_t>(cut), mix.begin());
        mixes.push_back(mix);
    }
    // Each byte from either side: writes that reached the disk in any order.
    std::mt19937 random(5);
    TBytes scattered = r->Old;
    for (std::size_t i = 0; i < scattered.size(); ++i)
        if (random() % 2) scattered[i] = r->New[i];
    mixes.push_back(scattered);

    for (std::size_t m = 0; m < mixes.size(); ++m) {
        for (const TJournalSide side : {TJournalSide::Old, TJournalSide::New}) {
            TMemoryRadarFile target(mixes[m]);
            EXPECT_EQ(CheckJournal(target, r->Journal), TJournalMatch::Matches) << "mix " << m;
            ASSERT_TRUE(ApplyJournal(target, r->Journal, side));
            EXPECT_EQ(target.Bytes, side == TJournalSide::Old ? r->Old : r->New) << "mix " << m;
        }
    }
}

TEST_P(JournalChangeTest, AFileTheJournalDoesNotDescribeIsNotItsOwn) {
    const auto r = Record(GetParam());
    ASSERT_TRUE(r->Info);
    const auto check = [&](TMemoryRadarFile target) { return CheckJournal(target, r->Journal); };

    TMemoryRadarFile otherFile(r->Old);
    otherFile.Inode = 42;
    EXPECT_EQ(check(std::move(otherFile)), TJournalMatch::OtherFile);
    TBytes shorter = r->Old;
    shorter.pop_back();
    EXPECT_EQ(check(TMemoryRadarFile(shorter)), TJournalMatch::OtherFile);
    TBytes longer = r->New;
    longer.push_back(0);
    EXPECT_EQ(check(TMemoryRadarFile(longer)), TJournalMatch::OtherFile);

    // A journalled byte that neither side has: written by someone else since.
    std::size_t first = 0;
    while (r->Old[first] == r->New[first]) ++first;
    TBytes edited = r->Old;
    edited[first] = static_cast<std::uint8_t>(r->Old[first] + 1);
    if (edited[first] == r->New[first]) ++edited[first];
    EXPECT_EQ(check(TMemoryRadarFile(edited)), TJournalMatch::ChangedSince);
}

INSTANTIATE_TEST_SUITE_P(Changes, JournalChangeTest, ::testing::ValuesIn(test::RadargramChanges()),
                         [](const auto& info) { return test::ChangeName(info.param); });

TEST(JournalTest, AHeaderEditOfALargeFileJournalsAFewHundredBytes) {
    const TRadargramChange change = test::RadargramChanges().front();
    ASSERT_EQ(change.Name, "Header");
    const auto r = Record(change);
    ASSERT_TRUE(r->Info);
    EXPECT_GT(r->Old.size(), 100'000u);
    EXPECT_LT(r->Journal.Bytes.size(), 512u);
    EXPECT_EQ(r->Info->RecordCount, 1u);
}

TEST(JournalTest, AChangeThatAltersNothingRecordsNothing) {
    TRadargramChange change = test::RadargramChanges().front();
    change.Edit = [](TRadargram&) {};
    const auto r = Record(change);
    ASSERT_TRUE(r->Info);
    EXPECT_EQ(r->Info->RecordCount, 0u);
    EXPECT_EQ(r->Info->NewSize, r->Old.size());
}

// A journal that failed before its complete flag reached the disk was never the promise of a
// change: nothing reads it, applies it or takes a file for its own.
TEST(JournalTest, AJournalWithoutItsCompleteFlagIsNotRead) {
    const TRadargramChange change = test::RadargramChanges()[1];
    const TBytes old = GenerateRadargramBytes(change.Options);
    const TBytes next = test::BytesAfter(old, change);

    // A clean run tells which operation writes the complete flag: the last write.
    auto plan = std::make_shared<test::TFaultPlan>();
    {
        TMemoryRadarFile target(old);
        TMemoryRadarFile journal(TBytes{});
        test::TFaultyRadarFile faulty(journal, plan, "journal");
        TRadargram model;
        ASSERT_TRUE(RecordChange(target, faulty, test::ChangeWriter(model, target, change),
                                 test::ChangeLabel(change)));
    }
    const std::uint64_t completing = plan->Operations - 1;  // the last sync follows it
    ASSERT_EQ(plan->Syncs, 2u);

    for (const test::TFaultMode mode : {test::TFaultMode::Fail, test::TFaultMode::Stop}) {
        auto failing = std::make_shared<test::TFaultPlan>();
        failing->FaultAt = completing;
        failing->Mode = mode;
        TMemoryRadarFile target(old);
        TMemoryRadarFile journal(TBytes{});
        test::TFaultyRadarFile faulty(journal, failing, "journal");
        TRadargram model;
        EXPECT_FALSE(RecordChange(target, faulty, test::ChangeWriter(model, target, change),
                                  test::ChangeLabel(change)));
        ASSERT_GT(journal.Bytes.size(), 256u) << "the records are there";
        EXPECT_FALSE(ReadJournalInfo(journal));
        EXPECT_EQ(CheckJournal(target, journal), TJournalMatch::Unreadable);
        EXPECT_FALSE(HoldsSide(target, journal, TJournalSide::Old));
        TMemoryRadarFile forward(old);
        EXPECT_FALSE(ApplyJournal(forward, journal, TJournalSide::New));
        EXPECT_EQ(forward.Bytes, old);
        EXPECT_NE(forward.Bytes, next);
    }
}

// ---- Journals of the first format, damaged journals, the way back on a full disk --------------

// The same journal in the first format: no header checksum, records without theirs.
TBytes AsFirstFormat(const TBytes& journal) {
    TBytes first(journal.begin(), journal.begin() + 256);
    first[8] = 1;
    std::fill(first.begin() + 248, first.end(), 0);
    for (std::size_t at = 256; at < journal.size();) {
        std::uint64_t length = 0;
        std::memcpy(&length, journal.data() + at + 8, 8);
        first.insert(first.end(), journal.begin() + static_cast<std::ptrdiff_t>(at),
                     journal.begin() + static_cast<std::ptrdiff_t>(at + 16));
        const auto sides = journal.begin() + static_cast<std::ptrdiff_t>(at + 24);
        first.insert(first.end(), sides, sides + static_cast<std::ptrdiff_t>(2 * length));
        at += 24 + 2 * length;
    }
    return first;
}

TEST_P(JournalChangeTest, AJournalOfTheFirstFormatIsStillReadAndApplied) {
    const auto r = Record(GetParam());
    ASSERT_TRUE(r->Info);
    TMemoryRadarFile journal(AsFirstFormat(r->Journal.Bytes));
    TJournalInfo info;
    ASSERT_EQ(VerifyJournal(journal, &info), TJournalState::Valid);
    EXPECT_EQ(info.Version, 1u);
    EXPECT_EQ(info.Description, r->Info->Description);
    TMemoryRadarFile target(r->Old);
    EXPECT_EQ(CheckJournal(target, journal), TJournalMatch::Matches);
    ASSERT_TRUE(ApplyJournal(target, journal, TJournalSide::New));
    EXPECT_EQ(target.Bytes, r->New);
    ASSERT_TRUE(ApplyJournal(target, journal, TJournalSide::Old));
    EXPECT_EQ(target.Bytes, r->Old);
}

// A growing change cut short on a full disk: the way back cuts the file first and writes
// nothing beyond the old size, so it needs no free space at all.
TEST(JournalTest, GoingBackToASmallerSizeNeedsNoFreeSpace) {
    int growing = 0;
    for (const TRadargramChange& change : test::RadargramChanges()) {
        const auto r = Record(change);
        ASSERT_TRUE(r->Info);
        if (r->New.size() <= r->Old.size()) continue;
        ++growing;
        for (const std::size_t cut :
             {r->Old.size() + 1, (r->Old.size() + r->New.size()) / 2, r->New.size()}) {
            SCOPED_TRACE(change.Name + ", cut at " + std::to_string(cut));
            TBytes torn(r->New.begin(), r->New.begin() + static_cast<std::ptrdiff_t>(cut));
            TMemoryRadarFile target(torn);
            target.Capacity = torn.size();
            TJournalState state{};
            ASSERT_TRUE(ApplyJournal(target, r->Journal, TJournalSide::Old, &state));
            EXPECT_EQ(state, TJournalState::Valid);
            EXPECT_EQ(target.Bytes, r->Old);
        }
    }
    EXPECT_GT(growing, 0) << "a change that grows the file";
}

struct TJournalDamage {
    std::string Name;
    std::function<void(TBytes&)> Damage;
    bool SeenInFirstFormat = true;  // caught without checksums, by sizes, counts and bounds
};

void AddTo(TBytes& bytes, std::size_t at, std::uint64_t add) {
    std::uint64_t value = 0;
    std::memcpy(&value, bytes.data() + at, 8);
    value += add;
    std::memcpy(bytes.data() + at, &value, 8);
}

std::vector<TJournalDamage> JournalDamages() {
    return {
        {"DescriptionBit", [](TBytes& j) { j[100] ^= 0x04; }, false},
        {"OldSizeZero", [](TBytes& j) { std::fill(j.begin() + 32, j.begin() + 40, 0); }},
        {"NewSizeHighBit", [](TBytes& j) { j[52] ^= 0x80; }},
        {"NewSizeOneMore", [](TBytes& j) { AddTo(j, 48, 1); }},
        {"OneRecordMore", [](TBytes& j) { AddTo(j, 56, 1); }},
        {"OneChangedByteMore", [](TBytes& j) { AddTo(j, 64, 1); }},
        {"LayoutUnknown", [](TBytes& j) { j[240] = 7; }},
        {"NotComplete", [](TBytes& j) { j[12] = 2; }},
        {"CutShort", [](TBytes& j) { j.pop_back(); }},
        {"BytesAfterTheLastRecord", [](TBytes& j) { j.insert(j.end(), 24, std::uint8_t{0}); }},
        {"RecordOffsetFarOut", [](TBytes& j) { j[256 + 6] ^= 0x40; }},
        {"RecordLengthLonger", [](TBytes& j) { AddTo(j, 256 + 8, 1); }},
        {"OldByteFlipped", [](TBytes& j) { j[256 + 24] ^= 0x01; }, false},
        {"NewByteFlippedInTheLastRecord", [](TBytes& j) { j.back() ^= 0x10; }, false},
        {"RecordOffsetMovedByOne", [](TBytes& j) { AddTo(j, 256, 1); }, false},
    };
}

// Every damage in the checked format; in the first format those its sizes, counts and bounds
// can show.
std::vector<std::tuple<TJournalDamage, bool /* first format */>> JournalDamageCases() {
    std::vector<std::tuple<TJournalDamage, bool>> cases;
    for (const TJournalDamage& damage : JournalDamages()) {
        cases.emplace_back(damage, false);
        if (damage.SeenInFirstFormat) cases.emplace_back(damage, true);
    }
    return cases;
}

class JournalDamageTest
    : public ::testing::TestWithParam<std::tuple<TJournalDamage, bool /* first format */>> {};

// However a journal was damaged, it is found out before a byte of it is written: the file keeps
// exactly what it had, whichever side was asked for.
TEST_P(JournalDamageTest, IsFoundBeforeAnyByteIsWritten) {
    const auto& [damage, firstFormat] = GetParam();
    for (const TRadargramChange& change :
         {test::RadargramChanges()[1], test::RadargramChanges()[3]}) {
        SCOPED_TRACE(change.Name);
        const auto r = Record(change);
        ASSERT_TRUE(r->Info);
        TBytes bytes = firstFormat ? AsFirstFormat(r->Journal.Bytes) : r->Journal.Bytes;
        damage.Damage(bytes);
        TMemoryRadarFile journal(bytes);
        EXPECT_NE(VerifyJournal(journal), TJournalState::Valid);
        EXPECT_FALSE(ReadJournalInfo(journal) && VerifyJournal(journal) == TJournalState::Valid);
        for (const TJournalSide side : {TJournalSide::Old, TJournalSide::New}) {
            for (const TBytes& start : {r->Old, r->New}) {
                TMemoryRadarFile target(start);
                TJournalState state = TJournalState::Valid;
                EXPECT_FALSE(ApplyJournal(target, journal, side, &state));
                EXPECT_NE(state, TJournalState::Valid);
                EXPECT_EQ(target.Bytes, start);
                EXPECT_EQ(target.Stamp().ModifiedNs, 0) << "nothing written";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Damages, JournalDamageTest, ::testing::ValuesIn(JournalDamageCases()),
                         [](const auto& info) {
                             return std::get<0>(info.param).Name +
                                    (std::get<1>(info.param) ? "FirstFormat" : "");
                         });

// A journal that cannot be read is not a damaged one: nothing is known, nothing is applied.
TEST(JournalTest, AJournalThatCannotBeReadIsToldApartFromADamagedOne) {
    const auto r = Record(test::RadargramChanges()[1]);
    ASSERT_TRUE(r->Info);
    TMemoryRadarFile journal(r->Journal.Bytes);
    journal.FailReadAfter = 300;
    EXPECT_EQ(VerifyJournal(journal), TJournalState::Unreadable);
    TMemoryRadarFile target(r->Old);
    TJournalState state{};
    EXPECT_FALSE(ApplyJournal(target, journal, TJournalSide::New, &state));
    EXPECT_EQ(state, TJournalState::Unreadable);
    EXPECT_EQ(target.Bytes, r->Old);
}

}  // namespace
}  // namespace trelvanox
