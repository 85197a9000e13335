#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "memory_radar_file.h"
#include "model/radargram_io.h"
#include "model/text_field.h"
#include "radar_image.h"
#include "radargram_generator.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

using test::CutImage;
using test::PasteImage;
using test::TBytes;

constexpr TRadarLayout kGpr = TRadarLayout::Gpr;
constexpr TRadarLayout kGpr2 = TRadarLayout::Gpr2;

TGeneratorOptions Options(TRadarLayout layout, std::uint32_t traces = 40,
                          std::uint32_t samples = 16) {
    TGeneratorOptions o;
    o.TraceCount = traces;
    o.SampleCount = samples;
    o.Layout = layout;
    o.Seed = 11;
    o.LabelEvery = 3;
    o.TrailingBytes = 7;
    return o;
}

// A radargram file on disk and the model read from it.
class WriterTest : public ::testing::Test {
  protected:
    void Load(const TGeneratorOptions& options, TRadarLayout readAs) {
        original_ = GenerateRadargramBytes(options);
        test::WriteBytes(path_, original_);
        ASSERT_EQ(ReadRadargram(model_, path_, readAs).Code, 0);
    }
    TBytes OnDisk() const { return test::ReadBytes(path_); }

    test::TTempFolder folder_;
    std::filesystem::path path_ = folder_ / "profile.GPR2";
    TBytes original_;
    TRadargram model_;
};

struct TShape {
    std::uint32_t Traces, Samples;
};

class RoundTripTest : public WriterTest,
                      public ::testing::WithParamInterface<std::tuple<TRadarLayout, TShape>> {};

// Reserved area, gaps, uninterpreted fields, bytes behind text NULs and bytes after the last
// label record all come back unchanged.
TEST_P(RoundTripTest, ReadThenWriteLeavesTheFileIdentical) {
    const auto [layout, shape] = GetParam();
    Load(Options(layout, shape.Traces, shape.Samples), layout);

    const TWriteResult result = WriteRadargram(model_, path_, layout);

    EXPECT_EQ(result.Code, 0);
    EXPECT_EQ(result.Status, TWriteStatus::Ok);
    EXPECT_EQ(OnDisk(), original_);
}

INSTANTIATE_TEST_SUITE_P(Files, RoundTripTest,
                         ::testing::Combine(::testing::Values(kGpr, kGpr2),
                                            ::testing::Values(TShape{40, 16}, TShape{0, 16},
                                                              TShape{5, 0}, TShape{1, 512})),
                         [](const auto& info) {
                             const TShape shape = std::get<1>(info.param);
                             return std::string(std::get<0>(info.param) == kGpr ? "Gpr_"
                                                                                : "Gpr2_") +
                                    std::to_string(shape.Traces) + "x" +
                                    std::to_string(shape.Samples);
                         });

TEST_F(WriterTest, SwitchingGpr2ToGprPacksTheTracesAndKeepsTheOldTail) {
    Load(Options(kGpr2), kGpr2);

    ASSERT_EQ(WriteRadargram(model_, path_, kGpr).Code, 0);

    const TBytes after = OnDisk();
    EXPECT_EQ(after, PasteImage(original_, CutImage(original_, kGpr2), 14, kGpr));
    ASSERT_EQ(after.size(), original_.size());
    const std::size_t leftOver = 8 * 40 + 4 + 7;
    EXPECT_TRUE(std::equal(after.end() - leftOver, after.end(), original_.end() - leftOver));
}

TEST_F(WriterTest, SwitchingGprToGpr2GrowsTheFileWithZeroGaps) {
    // Short traces and few labels, so that the last gaps lie beyond the former end.
    TGeneratorOptions options = Options(kGpr, 40, 0);
    options.LabelEvery = 20;
    options.TrailingBytes = 0;
    Load(options, kGpr);

    ASSERT_EQ(WriteRadargram(model_, path_, kGpr2).Code, 0);

    const TBytes after = OnDisk();
    EXPECT_EQ(after, PasteImage(original_, CutImage(original_, kGpr), 2, kGpr2));
    ASSERT_EQ(after.size(), original_.size() + 8 * 40 + 4);
    const auto gapsBeyondTheOldEnd = after.end() - 2 * 48 - 12;
    EXPECT_TRUE(std::all_of(gapsBeyondTheOldEnd, gapsBeyondTheOldEnd + 12,
                            [](std::uint8_t b) { return b == 0; }));
}

// After a write in the other layout, the GPR2 gaps hold trace data; a GPR2 write must keep
// what is there now, not what the read saw.
TEST_F(WriterTest, Gpr2WriteAfterAGprWriteKeepsWhatTheGapsHoldNow) {
    Load(Options(kGpr2), kGpr2);
    ASSERT_EQ(WriteRadargram(model_, path_, kGpr).Code, 0);
    const TBytes afterGpr = OnDisk();

    ASSERT_EQ(WriteRadargram(model_, path_, kGpr2).Code, 0);

    EXPECT_EQ(OnDisk(), PasteImage(afterGpr, CutImage(original_, kGpr2), 14, kGpr2));
}

TEST_F(WriterTest, GapsChangedOnDiskSinceTheReadAreKept) {
    Load(Options(kGpr2), kGpr2);
    TBytes changed = original_;
    const std::size_t firstGap = 1536 + 64 + 36 + 64;
    changed[firstGap] ^= 0xFF;
    test::WriteBytes(path_, changed);
    std::filesystem::last_write_time(
        path_, std::filesystem::last_write_time(path_) + std::chrono::seconds(2));

    ASSERT_EQ(WriteRadargram(model_, path_, kGpr2).Code, 0);

    EXPECT_EQ(OnDisk(), changed);
}

struct TPackedCase {
    const char* Name;
    TRadarLayout Layout;
};

class PackedWriteTest : public WriterTest, public ::testing::WithParamInterface<TPackedCase> {};

TEST_P(PackedWriteTest, PacksTheTracesAndPutsTheLabelsAfterAFourByteTail) {
    Load(Options(GetParam().Layout), GetParam().Layout);

    ASSERT_EQ(WriteRadargramWithoutGaps(model_, path_).Code, 0);

    EXPECT_EQ(OnDisk(),
              PasteImage(original_, CutImage(original_, GetParam().Layout), 14, kGpr, true));
}

INSTANTIATE_TEST_SUITE_P(Files, PackedWriteTest,
                         ::testing::Values(TPackedCase{"Gpr2File", kGpr2},
                                           TPackedCase{"GprFileMovesOnlyTheLabels", kGpr}),
                         [](const auto& info) { return info.param.Name; });

TEST_F(WriterTest, WritesLabelTotalRecordsWithZeroSlotsBeyondTheFileData) {
    TGeneratorOptions options = Options(kGpr2);
    options.LabelCount = 5;  // 14 labelled traces
    Load(options, kGpr2);

    ASSERT_EQ(WriteRadargram(model_, path_, kGpr2).Code, 0);

    EXPECT_EQ(OnDisk(), PasteImage(original_, CutImage(original_, kGpr2), 14, kGpr2));
}

TEST_F(WriterTest, WritesFewerRecordsThanLabelCountAndKeepsTheRest) {
    TGeneratorOptions options = Options(kGpr);
    options.LabelCount = 20;
    Load(options, kGpr);

    ASSERT_EQ(WriteRadargram(model_, path_, kGpr).Code, 0);

    EXPECT_EQ(OnDisk(), original_);
}

TEST_F(WriterTest, StoresChangesMadeInTheModel) {
    Load(Options(kGpr2), kGpr2);
    WriteTextField(model_.Header().OperatorName, "Петров А.А.");
    model_.Header().StartCoordinate = -250000;
    model_.TraceHeaders()[39].Coordinate = 123456;
    model_.Samples(17)[15] = -0.0f;
    WriteTextField(model_.LabelRecords()[0].LabelText, "");

    ASSERT_EQ(WriteRadargram(model_, path_, kGpr2).Code, 0);

    TRadargram reread;
    ASSERT_EQ(ReadRadargram(reread, path_, kGpr2).Code, 0);
    EXPECT_EQ(ReadTextField(reread.Header().OperatorName), "Петров А.А.");
    EXPECT_EQ(reread.Header().StartCoordinate, -250000);
    EXPECT_EQ(reread.TraceHeaders()[39].Coordinate, 123456);
    EXPECT_TRUE(std::signbit(reread.Samples(17)[15]));
    EXPECT_EQ(reread.LabelRecords()[0].LabelText[0], '\0');
    EXPECT_EQ(0, std::memcmp(reread.LabelRecords()[0].LabelText + 1,
                             model_.LabelRecords()[0].LabelText + 1, 39));
}

TEST_F(WriterTest, RefusesWithoutACompleteReadAndTellsAMissingFileFirst) {
    original_ = GenerateRadargramBytes(Options(kGpr2));
    test::WriteBytes(path_, original_);
    TRadargram fresh;

    EXPECT_EQ(WriteRadargram(fresh, folder_ / "missing", kGpr2).Status, TWriteStatus::OpenFailed);
    EXPECT_EQ(WriteRadargram(fresh, "", kGpr2).Status, TWriteStatus::OpenFailed);
    const TWriteResult result = WriteRadargram(fresh, path_, kGpr2);
    EXPECT_EQ(result.Code, 1);
    EXPECT_EQ(result.Status, TWriteStatus::NotLoaded);
    EXPECT_EQ(WriteRadargramWithoutGaps(fresh, path_).Status, TWriteStatus::NotLoaded);
    EXPECT_EQ(OnDisk(), original_);
}

TEST_F(WriterTest, WritesOnlyIntoTheFileThatWasRead) {
    Load(Options(kGpr2), kGpr2);
    const auto other = folder_ / "other.GPR2";
    TGeneratorOptions otherOptions = Options(kGpr2);
    otherOptions.Seed = 99;
    const TBytes otherBytes = GenerateRadargramBytes(otherOptions);
    test::WriteBytes(other, otherBytes);

    EXPECT_EQ(WriteRadargram(model_, other, kGpr2).Status, TWriteStatus::NotLoaded);
    EXPECT_EQ(WriteRadargramWithoutGaps(model_, other).Status, TWriteStatus::NotLoaded);
    EXPECT_EQ(test::ReadBytes(other), otherBytes);

    // Another spelling of the same file is the same file.
#ifndef _WIN32  // symbolic links need a privilege on Windows
    std::filesystem::create_symlink(path_, folder_ / "link");
    EXPECT_EQ(WriteRadargram(model_, folder_ / "link", kGpr2).Code, 0);
#endif
    EXPECT_EQ(WriteRadargram(model_, folder_ / "." / "profile.GPR2", kGpr2).Code, 0);
    EXPECT_EQ(OnDisk(), original_);
}

TEST_F(WriterTest, AFileMadeReadOnlyAfterTheReadCannotBeOpened) {
    Load(Options(kGpr2), kGpr2);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_read);

    EXPECT_EQ(WriteRadargram(model_, path_, kGpr2).Status, TWriteStatus::OpenFailed);
    EXPECT_EQ(OnDisk(), original_);
}

// The write fails at every kind of block in turn, and at the final flush.
class WriterFailureTest : public ::testing::TestWithParam<std::tuple<TRadarLayout, int>> {};

TEST_P(WriterFailureTest, ReportsAFailedWriteOrFlush) {
    const auto [layout, failAfter] = GetParam();
    test::TMemoryRadarFile file(GenerateRadargramBytes(Options(layout)));
    TRadargram model;
    ASSERT_EQ(ReadRadargramFrom(model, file, layout, "/profile").Code, 0);
    if (failAfter < 0)
        file.FailSync = true;
    else
        file.FailWriteAfter = static_cast<std::uint64_t>(failAfter);

    const TWriteResult result = WriteRadargramTo(model, file, layout, false);

    EXPECT_EQ(result.Code, 1);
    EXPECT_EQ(result.Status, TWriteStatus::IoFault);
}

INSTANTIATE_TEST_SUITE_P(Blocks, WriterFailureTest,
                         ::testing::Combine(::testing::Values(kGpr, kGpr2),
                                            // header, block, traces, labels, flush
                                            ::testing::Values(0, 500, 3000, 1600 + 40 * 100, -1)),
                         [](const auto& info) {
                             const int at = std::get<1>(info.param);
                             return std::string(std::get<0>(info.param) == kGpr ? "Gpr_"
                                                                                : "Gpr2_") +
                                    (at < 0 ? "Flush" : "After" + std::to_string(at));
                         });

}  // namespace
}  // namespace trelvanox
