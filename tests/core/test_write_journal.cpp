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

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace trelvanox {
namespace {

using test::TBytes;
using test::TMemoryRadarFile;
using test::TRadargramChange;

// A change recorded into a journal in memory (the target keeps its old bytes), then written
// into a copy of the file, whose new bytes then go with the old ones into a journal that keeps
// both sides, as an undo makes it.
struct TRecorded {
    TBytes Old;
    TBytes New;
    TMemoryRadarFile Journal{TBytes{}};
    std::optional<TJournalInfo> Info;
    TMemoryRadarFile Full{TBytes{}};
};

std::unique_ptr<TRecorded> Record(const TRadargramChange& change) {
    auto recorded = std::make_unique<TRecorded>();
    recorded->Old = GenerateRadargramBytes(change.Options);
    recorded->New = test::BytesAfter(recorded->Old, change);
    TMemoryRadarFile target(recorded->Old);
    TRadargram model;
    const TChangeWriter write = test::ChangeWriter(model, target, change);
    TChangePlan plan;
    recorded->Info = RecordChange(target, recorded->Journal, write, test::ChangeLabel(change),
                                  nullptr, {}, &plan);
    EXPECT_EQ(target.Bytes, recorded->Old) << "recording must not touch the file";
    if (!recorded->Info) return recorded;
    EXPECT_TRUE(WriteChange(target, *recorded->Info, plan, write));
    EXPECT_EQ(target.Bytes, recorded->New);
    EXPECT_EQ(KeepNewSide(target, recorded->Journal, recorded->Full), TJournalMatch::Matches);
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
    // The old bytes and a checksum per sector of the new ones; both sides once it was undone.
    const std::uint64_t fixed = 256 + r->Info->RecordCount * 32 + r->Info->ChangedBytes;
    EXPECT_GE(r->Journal.Bytes.size(), fixed);
    EXPECT_LE(r->Journal.Bytes.size(),
              fixed + 8 * (r->Info->ChangedBytes / 512 + 2 * r->Info->RecordCount));
    EXPECT_EQ(r->Full.Bytes.size(), 256 + r->Info->RecordCount * 24 + 2 * r->Info->ChangedBytes);
    EXPECT_EQ(VerifyJournal(r->Journal), TJournalState::Valid);
    TJournalInfo full;
    ASSERT_EQ(VerifyJournal(r->Full, &full), TJournalState::Valid);
    EXPECT_TRUE(full.NewSideKept);
    EXPECT_EQ(full.RecordCount, r->Info->RecordCount);
    EXPECT_EQ(full.Description, r->Info->Description);

    TMemoryRadarFile target(r->Old);
    EXPECT_TRUE(HoldsSide(target, r->Journal, TJournalSide::Old));
    EXPECT_FALSE(HoldsSide(target, r->Journal, TJournalSide::New));
    // The new side is not in the journal a change writes: it cannot be put into a file.
    EXPECT_FALSE(ApplyJournal(target, r->Journal, TJournalSide::New));
    EXPECT_EQ(target.Bytes, r->Old);
    TMemoryRadarFile changed(r->New);
    EXPECT_TRUE(HoldsSide(changed, r->Journal, TJournalSide::New));
    EXPECT_FALSE(HoldsSide(changed, r->Journal, TJournalSide::Old));
    ASSERT_TRUE(ApplyJournal(changed, r->Journal, TJournalSide::Old));
    EXPECT_EQ(changed.Bytes, r->Old);
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(ApplyJournal(target, r->Full, TJournalSide::New));
        EXPECT_EQ(target.Bytes, r->New) << "round " << round;
        EXPECT_TRUE(HoldsSide(target, r->Full, TJournalSide::New));
        EXPECT_TRUE(HoldsSide(target, r->Journal, TJournalSide::New));
        ASSERT_TRUE(ApplyJournal(target, r->Full, TJournalSide::Old));
        EXPECT_EQ(target.Bytes, r->Old) << "round " << round;
    }
}

// The new bytes for a journal that keeps both sides come only from a file that holds them all.
TEST_P(JournalChangeTest, BothSidesAreKeptOnlyFromAFileWithTheWholeNewSide) {
    const auto r = Record(GetParam());
    ASSERT_TRUE(r->Info);
    TMemoryRadarFile full(TBytes{});
    TMemoryRadarFile unchanged(r->Old);
    EXPECT_NE(KeepNewSide(unchanged, r->Journal, full), TJournalMatch::Matches);
    std::size_t last = r->New.size() - 1;
    while (last < r->Old.size() && r->Old[last] == r->New[last]) --last;
    TBytes edited = r->New;
    edited[last] ^= 0x01;
    TMemoryRadarFile target(edited);
    EXPECT_EQ(KeepNewSide(target, r->Journal, full), TJournalMatch::ChangedSince);
    bool failed = false;
    TMemoryRadarFile unwritable(TBytes{});
    unwritable.FailWriteAfter = 100;
    TMemoryRadarFile changed(r->New);
    EXPECT_NE(KeepNewSide(changed, r->Journal, unwritable, &failed), TJournalMatch::Matches);
    EXPECT_TRUE(failed);
    EXPECT_FALSE(ReadJournalInfo(unwritable));
}

// Whatever part of a change reached the file before it stopped, the journal recognises the file
// as its own and takes it to either side exactly.
TEST_P(JournalChangeTest, AnyMixOfTheSidesMatchesAndGoesToEitherSide) {
    const auto r = Record(GetParam());
    ASSERT_TRUE(r->Info);
    // The new bytes up to a point, the old ones after: a write in order cut short.
    const auto cutAt = [&](std::size_t cut) {
        TBytes mix = r->Old;
        mix.resize(std::max(r->Old.size(), cut), 0);
        std::copy(r->New.begin(), r->New.begin() + static_cast<std::ptrdiff_t>(cut), mix.begin());
        return mix;
    };
    // Cut where a crash or a power loss cuts a write, at a sector's end (or beyond the old end,
    // which the way back cuts off), and each sector from either side: writes that reached the disk
    // in any order. Every journal takes these back.
    std::vector<TBytes> mixes;
    for (const std::size_t cut :
         {std::size_t{512}, r->Old.size() / 3 / 512 * 512, r->Old.size(), r->New.size() - 1})
        mixes.push_back(cutAt(cut));
    TBytes sectors = r->Old;
    for (std::size_t i = 0; i < sectors.size(); ++i)
        if ((i / 512) % 3 == 1) sectors[i] = r->New[i];
    mixes.push_back(sectors);
    for (std::size_t m = 0; m < mixes.size(); ++m) {
        TMemoryRadarFile target(mixes[m]);
        EXPECT_EQ(CheckJournal(target, r->Journal), TJournalMatch::Matches) << "mix " << m;
        ASSERT_TRUE(ApplyJournal(target, r->Journal, TJournalSide::Old));
        EXPECT_EQ(target.Bytes, r->Old) << "mix " << m;
    }

    // A journal that keeps both sides takes any byte from either, to either side.
    for (const std::size_t cut : {std::size_t{1}, r->Old.size() / 3, r->Old.size() - 1})
        mixes.push_back(cutAt(cut));
    std::mt19937 random(5);
    TBytes scattered = r->Old;
    for (std::size_t i = 0; i < scattered.size(); ++i)
        if (random() % 2) scattered[i] = r->New[i];
    mixes.push_back(scattered);
    for (std::size_t m = 0; m < mixes.size(); ++m) {
        for (const TJournalSide side : {TJournalSide::Old, TJournalSide::New}) {
            TMemoryRadarFile target(mixes[m]);
            EXPECT_EQ(CheckJournal(target, r->Full), TJournalMatch::Matches) << "mix " << m;
            ASSERT_TRUE(ApplyJournal(target, r->Full, side));
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

    // A journalled byte that neither side has: written by someone else since; seen by the
    // journal that keeps checksums of the new side as by the one that keeps both sides.
    std::size_t first = 0;
    while (r->Old[first] == r->New[first]) ++first;
    TBytes edited = r->Old;
    edited[first] = static_cast<std::uint8_t>(r->Old[first] + 1);
    if (edited[first] == r->New[first]) ++edited[first];
    EXPECT_EQ(check(TMemoryRadarFile(edited)), TJournalMatch::ChangedSince);
    TMemoryRadarFile once(edited);
    EXPECT_EQ(CheckJournal(once, r->Full), TJournalMatch::ChangedSince);
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

// The same journal (one that keeps both sides) in the first format: no header checksum,
// records without theirs.
TBytes AsFirstFormat(const TBytes& journal) {
    TBytes first(journal.begin(), journal.begin() + 256);
    first[8] = 1;
    std::fill(first.begin() + 232, first.end(), 0);  // the description's end, the checksum
    first[240] = journal[240];
    first[244] = journal[244];
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

// In the second format: checksums, both sides, 160 bytes of description.
TBytes AsSecondFormat(const TBytes& journal) {
    TBytes second = journal;
    second[8] = 2;
    std::fill(second.begin() + 232, second.begin() + 240, 0);
    const std::uint64_t sum = XXH3_64bits(second.data(), 248);
    std::memcpy(second.data() + 248, &sum, 8);
    return second;
}

TEST_P(JournalChangeTest, JournalsOfTheEarlierFormatsAreStillReadAndApplied) {
    const auto r = Record(GetParam());
    ASSERT_TRUE(r->Info);
    for (const std::uint32_t version : {1u, 2u}) {
        SCOPED_TRACE("version " + std::to_string(version));
        TMemoryRadarFile journal(version == 1 ? AsFirstFormat(r->Full.Bytes)
                                              : AsSecondFormat(r->Full.Bytes));
        TJournalInfo info;
        ASSERT_EQ(VerifyJournal(journal, &info), TJournalState::Valid);
        EXPECT_EQ(info.Version, version);
        EXPECT_TRUE(info.NewSideKept);
        EXPECT_EQ(info.Description, r->Info->Description);
        EXPECT_EQ(info.LayoutAfter, r->Info->LayoutAfter);
        TMemoryRadarFile target(r->Old);
        EXPECT_EQ(CheckJournal(target, journal), TJournalMatch::Matches);
        ASSERT_TRUE(ApplyJournal(target, journal, TJournalSide::New));
        EXPECT_EQ(target.Bytes, r->New);
        EXPECT_TRUE(HoldsSide(target, journal, TJournalSide::New));
        ASSERT_TRUE(ApplyJournal(target, journal, TJournalSide::Old));
        EXPECT_EQ(target.Bytes, r->Old);
    }
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
        TBytes bytes = firstFormat ? AsFirstFormat(r->Full.Bytes) : r->Journal.Bytes;
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
