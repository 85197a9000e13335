#include <gtest/gtest.h>

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
using test::PutU32;
using test::TBytes;

TGeneratorOptions Small(TRadarLayout layout, std::uint32_t seed = 7) {
    TGeneratorOptions o;
    o.TraceCount = 40;
    o.SampleCount = 16;
    o.Layout = layout;
    o.Seed = seed;
    o.LabelEvery = 3;
    o.TrailingBytes = 5;
    return o;
}

class ReaderTest : public ::testing::TestWithParam<TRadarLayout> {
  protected:
    std::filesystem::path Put(const std::string& name, const TBytes& bytes) {
        const auto path = folder_ / name;
        test::WriteBytes(path, bytes);
        return path;
    }
    TReadResult Read(const std::filesystem::path& path) {
        return ReadRadargram(model_, path, GetParam());
    }
    // The model holds exactly what the documented layout puts at each place of the file.
    void ExpectModelHolds(const TBytes& file) {
        const test::TRadarImage image = CutImage(file, GetParam());
        ASSERT_TRUE(model_.HasHeader());
        EXPECT_EQ(0, std::memcmp(&model_.Header(), image.Header.data(), 400));
        EXPECT_EQ(0, std::memcmp(&model_.Block(), image.Block.data(), 1024));
        EXPECT_EQ(0,
                  std::memcmp(model_.SampleTable().data(), image.Table.data(), image.Table.size()));
        ASSERT_EQ(model_.TraceHeaders().size(), image.Traces.size());
        ASSERT_EQ(model_.LabelRecords().size(), image.Traces.size());
        for (std::uint32_t t = 0; t < image.Traces.size(); ++t) {
            EXPECT_EQ(0, std::memcmp(&model_.TraceHeaders()[t], image.Traces[t].data(), 36));
            EXPECT_EQ(0, std::memcmp(model_.Samples(t).data(), image.Traces[t].data() + 36,
                                     image.Traces[t].size() - 36));
        }
        for (std::size_t k = 0; k < image.Labels.size(); ++k)
            EXPECT_EQ(0, std::memcmp(&model_.LabelRecords()[k], image.Labels[k].data(), 48));
        // Slots that no file data filled are zero.
        const TLabelRecord zero{};
        for (std::size_t k = image.Labels.size(); k < model_.LabelRecords().size(); ++k)
            EXPECT_EQ(0, std::memcmp(&model_.LabelRecords()[k], &zero, 48)) << k;
    }

    test::TTempFolder folder_;
    TRadargram model_;
};

TEST_P(ReaderTest, ReadsEveryBlockAndCountsTheLabels) {
    TGeneratorOptions options = Small(GetParam());
    options.LabelCount = 5;  // fewer records than labelled traces: the rest stay zero
    const TBytes bytes = GenerateRadargramBytes(options);
    const TGeneratorSummary summary = DescribeRadargram(options);

    const TReadResult result = Read(Put("a.GPR2", bytes));

    EXPECT_EQ(result.Code, 0);
    EXPECT_EQ(result.Status, TReadStatus::Ok);
    EXPECT_EQ(result.FileSize, bytes.size());
    EXPECT_EQ(model_.FileLoaded(), 1);
    ExpectModelHolds(bytes);
    EXPECT_EQ(model_.LabelsWithText(), summary.LabelsWithText);
    EXPECT_EQ(model_.LabelsWithoutText(), summary.LabelsWithoutText);
    EXPECT_EQ(model_.LabelTotal(), summary.LabelsWithText + summary.LabelsWithoutText);
    EXPECT_EQ(model_.LabelTotal(), 14u);
}

TEST_P(ReaderTest, CountsEveryLabelIndexAboveOneAsText) {
    TBytes bytes = GenerateRadargramBytes(Small(GetParam()));
    const std::size_t trace0 = 1536 + 4 * 16,
                      stride = 36 + 4 * 16 + (GetParam() == TRadarLayout::Gpr2 ? 8 : 0);
    const std::uint32_t indexes[] = {0xFFFFFFFF, 1, 0, 2, 0x80000000, 1};
    for (std::size_t t = 0; t < std::size(indexes); ++t)
        PutU32(bytes, trace0 + t * stride + 28, indexes[t]);
    std::uint32_t total = 0, withText = 0, withoutText = 0;
    for (const TBytes& trace : CutImage(bytes, GetParam()).Traces) {
        const std::uint32_t index = test::U32At(trace, 28);
        total += index != 0;
        withText += index > 1;
        withoutText += index == 1;
    }

    ASSERT_EQ(Read(Put("a", bytes)).Code, 0);

    EXPECT_EQ(model_.LabelTotal(), total);
    EXPECT_EQ(model_.LabelsWithText(), withText);
    EXPECT_EQ(model_.LabelsWithoutText(), withoutText);
    EXPECT_EQ(total, withText + withoutText);
}

TEST_P(ReaderTest, ReadsAFileWithoutTraces) {
    TGeneratorOptions options = Small(GetParam());
    options.TraceCount = 0;
    const TBytes bytes = GenerateRadargramBytes(options);
    ASSERT_EQ(Read(Put("empty", bytes)).Code, 0);
    EXPECT_EQ(model_.Header().TraceCount, 0u);
    EXPECT_TRUE(model_.TraceHeaders().empty());
    EXPECT_EQ(model_.LabelTotal(), 0u);
    EXPECT_EQ(model_.FileLoaded(), 1);
}

TEST_P(ReaderTest, AcceptsAFileEndingAfterItsLastSamplesWhenItHasNoLabels) {
    TGeneratorOptions options = Small(GetParam());
    options.LabelEvery = 0;
    options.TrailingBytes = 0;
    TBytes bytes = GenerateRadargramBytes(options);
    if (GetParam() == TRadarLayout::Gpr2) bytes.resize(bytes.size() - 12);  // last gap and tail

    ASSERT_EQ(Read(Put("a", bytes)).Code, 0);
    ExpectModelHolds(bytes);
}

struct TRefusal {
    const char* Name;
    std::size_t Offset;  // header field to change, or the number of bytes to cut when 0
    std::uint32_t Value;
};

class ReaderRefusalTest : public ::testing::TestWithParam<std::tuple<TRadarLayout, TRefusal>> {};

// A file the model cannot hold is refused right after its header, and one shorter than its
// counts imply before anything is read: the previous read stays untouched and writable.
TEST_P(ReaderRefusalTest, KeepsThePreviousReadWhole) {
    const auto [layout, refusal] = GetParam();
    test::TTempFolder folder;
    const TBytes good = GenerateRadargramBytes(Small(layout, 1));
    const auto goodPath = folder / "good";
    test::WriteBytes(goodPath, good);
    TRadargram model;
    ASSERT_EQ(ReadRadargram(model, goodPath, layout).Code, 0);

    TGeneratorOptions other = Small(layout, 2);
    other.TrailingBytes = 0;
    TBytes bad = GenerateRadargramBytes(other);
    if (refusal.Offset != 0)
        PutU32(bad, refusal.Offset, refusal.Value);
    else
        bad.resize(bad.size() > refusal.Value ? bad.size() - refusal.Value : 0);
    const auto badPath = folder / "bad";
    test::WriteBytes(badPath, bad);

    const TReadResult result = ReadRadargram(model, badPath, layout);

    EXPECT_EQ(result.Code, 1);
    EXPECT_EQ(result.Status, TReadStatus::Refused);
    EXPECT_EQ(result.FileSize, bad.size());
    EXPECT_EQ(model.FileLoaded(), 1);
    EXPECT_EQ(0, std::memcmp(&model.Header(), good.data(), 400));
    EXPECT_EQ(model.SourcePath(), std::filesystem::canonical(goodPath));
    EXPECT_EQ(WriteRadargram(model, goodPath, layout).Code, 0);
    EXPECT_EQ(test::ReadBytes(goodPath), good);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReaderRefusalTest,
    ::testing::Combine(::testing::Values(TRadarLayout::Gpr, TRadarLayout::Gpr2),
                       ::testing::Values(TRefusal{"TooManyTraces", 24, 200001},
                                         TRefusal{"TooManySamples", 28, 513},
                                         TRefusal{"MoreLabelsThanTraces", 32, 41},
                                         TRefusal{"HugeCounts", 24, 0xFFFFFFFF},
                                         TRefusal{"OneByteShort", 0, 1},
                                         TRefusal{"NoLabelRecords", 0, 48 * 14},
                                         TRefusal{"ShorterThanAHeader", 0, 1000000})),
    [](const auto& info) {
        return std::string(std::get<0>(info.param) == TRadarLayout::Gpr ? "Gpr_" : "Gpr2_") +
               std::get<1>(info.param).Name;
    });

TEST_P(ReaderTest, ReportsFilesThatCannotBeOpenedAndChangesNothing) {
    const TBytes good = GenerateRadargramBytes(Small(GetParam()));
    ASSERT_EQ(Read(Put("good", good)).Code, 0);
    const auto readOnly = Put("readonly", GenerateRadargramBytes(Small(GetParam(), 3)));
    std::filesystem::permissions(
        readOnly, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);

    for (const std::filesystem::path& path :
         {folder_ / "missing", std::filesystem::path(), folder_.Path(), readOnly}) {
        const TReadResult result = Read(path);
        EXPECT_EQ(result.Code, 1) << path;
        EXPECT_EQ(result.Status, TReadStatus::OpenFailed) << path;
        EXPECT_FALSE(result.FileSize.has_value()) << path;
        ExpectModelHolds(good);
    }
}

TEST_P(ReaderTest, FailureInTheMiddleRefusesWritesUntilTheNextCompleteRead) {
    const TBytes good = GenerateRadargramBytes(Small(GetParam(), 1));
    const auto goodPath = Put("good", good);
    ASSERT_EQ(Read(goodPath).Code, 0);

    test::TMemoryRadarFile failing(GenerateRadargramBytes(Small(GetParam(), 2)));
    failing.FailReadAfter = 400 + 1024 + 64 + 5 * 100;  // somewhere in the traces
    const TReadResult result = ReadRadargramFrom(model_, failing, GetParam(), "/elsewhere");

    EXPECT_EQ(result.Status, TReadStatus::IoFault);
    EXPECT_EQ(model_.FileLoaded(), 1);
    EXPECT_EQ(0, std::memcmp(&model_.Header(), good.data(), 400));
    EXPECT_EQ(WriteRadargram(model_, goodPath, GetParam()).Status, TWriteStatus::NotLoaded);
    EXPECT_EQ(test::ReadBytes(goodPath), good);

    ASSERT_EQ(Read(goodPath).Code, 0);
    EXPECT_EQ(WriteRadargram(model_, goodPath, GetParam()).Code, 0);
    EXPECT_EQ(test::ReadBytes(goodPath), good);
}

TEST(ReaderLayoutTest, AGpr2FileReadAsGprMisplacesTheTracesWithoutComplaint) {
    test::TTempFolder folder;
    TGeneratorOptions options = Small(TRadarLayout::Gpr2);
    const TBytes bytes = GenerateRadargramBytes(options);
    test::WriteBytes(folder / "a", bytes);
    TRadargram model;

    ASSERT_EQ(ReadRadargram(model, folder / "a", TRadarLayout::Gpr).Code, 0);

    const test::TRadarImage asGpr2 = CutImage(bytes, TRadarLayout::Gpr2);
    EXPECT_EQ(0, std::memcmp(&model.TraceHeaders()[0], asGpr2.Traces[0].data(), 36));
    // Trace 1 starts 8 bytes early: the gap of trace 0 becomes the start of its header.
    EXPECT_EQ(0, std::memcmp(reinterpret_cast<const std::uint8_t*>(&model.TraceHeaders()[1]) + 8,
                             asGpr2.Traces[1].data(), 28));
}

INSTANTIATE_TEST_SUITE_P(Layouts, ReaderTest,
                         ::testing::Values(TRadarLayout::Gpr, TRadarLayout::Gpr2),
                         [](const auto& info) {
                             return info.param == TRadarLayout::Gpr ? "Gpr" : "Gpr2";
                         });

}  // namespace
}  // namespace trelvanox
