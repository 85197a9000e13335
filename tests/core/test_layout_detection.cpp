#include <gtest/gtest.h>

#include "model/layout_detection.h"
#include "radar_image.h"
#include "radargram_generator.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

struct TFitCase {
    const char* Name;
    TRadarLayout Layout;
    std::uint32_t Traces;
    std::uint32_t LabelEvery;
    std::uint32_t TrailingBytes;
    bool FitsGpr;
    bool FitsGpr2;
};

class LayoutFitTest : public ::testing::TestWithParam<TFitCase> {};

TEST_P(LayoutFitTest, SizeAndLabelIndicesTellTheLayout) {
    const TFitCase& c = GetParam();
    test::TTempFolder folder;
    const auto path = folder / "file.bin";
    TGeneratorOptions options;
    options.TraceCount = c.Traces;
    options.SampleCount = 8;
    options.Layout = c.Layout;
    options.LabelEvery = c.LabelEvery;
    options.TrailingBytes = c.TrailingBytes;
    GenerateRadargram(path, options);
    const std::optional<TLayoutFit> fit = CheckLayoutFit(path);
    ASSERT_TRUE(fit);
    EXPECT_EQ(fit->Gpr, c.FitsGpr);
    EXPECT_EQ(fit->Gpr2, c.FitsGpr2);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LayoutFitTest,
    ::testing::Values(TFitCase{"Gpr2WithLabels", TRadarLayout::Gpr2, 3000, 7, 0, false, true},
                      TFitCase{"GprWithLabels", TRadarLayout::Gpr, 3000, 7, 0, true, false},
                      TFitCase{"Gpr2NoLabels", TRadarLayout::Gpr2, 50, 0, 0, false, true},
                      TFitCase{"GprNoLabels", TRadarLayout::Gpr, 50, 0, 0, true, false},
                      // Bytes after the last record: no layout accounts for them.
                      TFitCase{"Trailing", TRadarLayout::Gpr2, 50, 5, 16, false, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(LayoutFit, AFileThatCannotBeReadHasNoAnswer) {
    test::TTempFolder folder;
    EXPECT_FALSE(CheckLayoutFit(folder / "missing.GPR2"));
}

TEST(LayoutFit, TheOtherLayoutIsProposedOnlyWhenItAloneFits) {
    const TLayoutFit gpr2Only{.Gpr = false, .Gpr2 = true};
    EXPECT_EQ(OtherFittingLayout(gpr2Only, TRadarLayout::Gpr), TRadarLayout::Gpr2);
    EXPECT_EQ(OtherFittingLayout(gpr2Only, TRadarLayout::Gpr2), std::nullopt);
    EXPECT_EQ(OtherFittingLayout({.Gpr = true, .Gpr2 = true}, TRadarLayout::Gpr), std::nullopt);
    EXPECT_EQ(OtherFittingLayout({}, TRadarLayout::Gpr), std::nullopt);
    EXPECT_STREQ(LayoutName(TRadarLayout::Gpr), "GPR");
    EXPECT_STREQ(LayoutName(TRadarLayout::Gpr2), "GPR2");
}

}  // namespace
}  // namespace trelvanox
