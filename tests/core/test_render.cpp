#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "model/text_field.h"
#include "render/amplitude_scale.h"
#include "render/bscan_renderer.h"
#include "render/label_marks.h"
#include "render/profile_axes.h"

namespace trelvanox {
namespace {

// A loaded profile of traceCount x sampleCount zeros, or of the given value everywhere.
void Load(TRadargram& model, std::uint32_t traceCount, std::uint32_t sampleCount,
          float fill = 0.0f) {
    TRadargramContents contents;
    contents.Header.TraceCount = traceCount;
    contents.Header.SampleCount = sampleCount;
    contents.TraceHeaders.resize(traceCount);
    contents.LabelRecords.resize(traceCount);
    model.Replace(std::move(contents), "profile.GPR2");
    for (std::uint32_t t = 0; t < traceCount; ++t)
        std::fill_n(model.SampleMatrix().Row(t).begin(), sampleCount, fill);
}

TRgb Grey(int level) {
    const auto v = static_cast<std::uint8_t>(level);
    return {v, v, v};
}

}  // namespace

// Found by the test's messages through argument-dependent lookup.
void PrintTo(const TRgb& c, std::ostream* out) {
    *out << '(' << int(c.R) << ',' << int(c.G) << ',' << int(c.B) << ')';
}

namespace {

// --- pixels and cells ---------------------------------------------------------------------

struct TAxisCase {
    double First;
    double Span;
    int Pixels;
};

class PixelCellsTest : public testing::TestWithParam<TAxisCase> {};

// Zoomed out, the pixels share the cells out without gaps or overlaps, and CellPixel finds the
// pixel that holds each cell; zoomed in, every pixel shows a cell of the view and the pixel that
// marks a cell shows that cell.
TEST_P(PixelCellsTest, CellsAndPixelsAgree) {
    const TAxisCase c = GetParam();
    const auto first = static_cast<std::int64_t>(std::ceil(c.First));
    std::int64_t next = first;
    for (int p = 0; p < c.Pixels; ++p) {
        const TCellRange cells = PixelCells(c.First, c.Span, c.Pixels, p);
        ASSERT_LT(cells.First, cells.End) << p;
        if (c.Span >= c.Pixels) {
            ASSERT_EQ(cells.First, next) << p;
            next = cells.End;
            for (std::int64_t cell = cells.First; cell < cells.End; ++cell)
                ASSERT_EQ(CellPixel(c.First, c.Span, c.Pixels, cell), p) << cell;
        } else {
            ASSERT_GE(cells.First, std::floor(c.First));
            ASSERT_LT(cells.First, c.First + c.Span);
            ASSERT_EQ(cells.End, cells.First + 1);
        }
    }
    if (c.Span >= c.Pixels) {
        EXPECT_EQ(next, static_cast<std::int64_t>(std::ceil(c.First + c.Span)));
    } else {
        for (auto cell = first; cell < static_cast<std::int64_t>(c.First + c.Span); ++cell) {
            const int p = CellPixel(c.First, c.Span, c.Pixels, cell);
            ASSERT_GE(p, 0) << cell;
            EXPECT_EQ(PixelCells(c.First, c.Span, c.Pixels, p).First, cell);
        }
    }
    EXPECT_EQ(CellPixel(c.First, c.Span, c.Pixels, static_cast<std::int64_t>(c.First) - 1), -1);
    EXPECT_EQ(CellPixel(c.First, c.Span, c.Pixels,
                        static_cast<std::int64_t>(std::ceil(c.First + c.Span))),
              -1);
}

INSTANTIATE_TEST_SUITE_P(Views, PixelCellsTest,
                         testing::Values(TAxisCase{0, 200000, 1600}, TAxisCase{0, 1000, 333},
                                         TAxisCase{0, 7, 7}, TAxisCase{250, 500, 300},
                                         TAxisCase{0, 512, 900}, TAxisCase{40, 20, 200},
                                         TAxisCase{3.25, 10.5, 64}));

struct TClampCase {
    TRenderView View;
    TRenderView Expected;
};

class ClampViewTest : public testing::TestWithParam<TClampCase> {};

TEST_P(ClampViewTest, KeepsTheViewInsideTheProfile) {
    EXPECT_EQ(ClampView(GetParam().View, 1000, 512), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Views, ClampViewTest,
                         testing::Values(TClampCase{{0, 1000, 0, 512}, {0, 1000, 0, 512}},
                                         // panned past the end: moved back, not shrunk
                                         TClampCase{{950, 100, -20, 100}, {900, 100, 0, 100}},
                                         // zoomed out beyond the profile, or in below one cell
                                         TClampCase{{-5, 5000, 3, 0.25}, {0, 1000, 3, 1}}));

// --- where a feature lands ----------------------------------------------------------------

struct TSpikeCase {
    const char* Name;
    std::uint32_t Traces, Samples;
    TRenderView View;
    int Width, Height;
    std::uint32_t T, S;
    int X, Y;  // hand-computed pixel of sample (T, S)
};

class SpikeTest : public testing::TestWithParam<TSpikeCase> {};

// One bright sample in a zero profile: the largest amplitude sets the scale (the percentile is
// 0), so its pixel is white, and every other pixel shows zero.
TEST_P(SpikeTest, BrightSampleLandsOnItsPixel) {
    const TSpikeCase c = GetParam();
    TRadargram model;
    Load(model, c.Traces, c.Samples);
    model.SampleMatrix().Row(c.T)[c.S] = 3.5f;
    const TRenderStyle style{1.0, ClipLevelOf(model), TPalette::Grey};
    EXPECT_EQ(style.ClipLevel, 3.5f);

    const TRgbImage image = RenderBScan(model, c.View, style, c.Width, c.Height);
    EXPECT_EQ(image.At(c.X, c.Y), Grey(255));
    int bright = 0;
    for (int y = 0; y < c.Height; ++y)
        for (int x = 0; x < c.Width; ++x) {
            const TRgb p = image.At(x, y);
            if (p == Grey(128)) continue;
            ++bright;
            // Zoomed in, the sample is a block of pixels around the one computed.
            ASSERT_EQ(p, Grey(255));
            const TCellRange traces = PixelCells(c.View.FirstTrace, c.View.TraceSpan, c.Width, x);
            const TCellRange samples =
                PixelCells(c.View.FirstSample, c.View.SampleSpan, c.Height, y);
            ASSERT_TRUE(traces.First <= c.T && c.T < traces.End) << x;
            ASSERT_TRUE(samples.First <= c.S && c.S < samples.End) << y;
        }
    EXPECT_GE(bright, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Views, SpikeTest,
    testing::Values(
        TSpikeCase{"OnePixelPerSample", 100, 50, {0, 100, 0, 50}, 100, 50, 37, 21, 37, 21},
        TSpikeCase{"HalfSize", 100, 50, {0, 100, 0, 50}, 50, 25, 37, 21, 18, 10},
        // 37 x 30 / 100 = 11.1, 21 x 7 / 50 = 2.94
        TSpikeCase{"UnevenShrink", 100, 50, {0, 100, 0, 50}, 30, 7, 37, 21, 11, 2},
        // traces 40..59 over 200 pixels: trace 45 fills pixels 50..59, marked at 55
        TSpikeCase{"ZoomedIn", 100, 50, {40, 20, 10, 20}, 200, 40, 45, 21, 55, 23},
        // 512 samples over 900 rows: sample 300 fills rows 527..528 (300.5 x 900 / 512 = 528.2)
        TSpikeCase{"StretchedDown", 1000, 512, {0, 1000, 0, 512}, 500, 900, 999, 300, 499, 528},
        TSpikeCase{"FractionalPan", 100, 50, {36.5, 10, 20.25, 5}, 20, 10, 37, 21, 1, 1}),
    [](const testing::TestParamInfo<TSpikeCase>& info) { return info.param.Name; });

// The whole of a maximal profile in a screen-sized picture: 125 traces meet in each column,
// and the one that holds the spike still shows it.
TEST(RenderBScan, OneTraceSpikeInAMaximalProfileStaysVisible) {
    TRadargram model;
    Load(model, kMaxTraces, kMaxSamples);
    model.SampleMatrix().Row(123457)[300] = -2.0f;
    model.SampleMatrix().Row(5)[5] = 1.0f;
    const TRenderStyle style{1.0, 2.0f, TPalette::Grey};

    const TRgbImage image =
        RenderBScan(model, WholeView(kMaxTraces, kMaxSamples), style, 1600, 900);
    // 123457 x 1600 / 200000 = 987.66; row as in StretchedDown
    EXPECT_EQ(image.At(987, 528), Grey(0));
    EXPECT_EQ(image.At(986, 528), Grey(128));
    EXPECT_EQ(image.At(988, 528), Grey(128));
    EXPECT_EQ(image.At(987, 530), Grey(128));
    model.SampleMatrix().Row(123457)[300] = 0.0f;
}

// The same picture whatever the number of threads that draw it.
TEST(RenderBScan, ThreadsDoNotChangeThePicture) {
    TRadargram model;
    Load(model, 3000, 512);
    std::mt19937 random(7);
    std::normal_distribution<float> noise(0.0f, 1.0f);
    for (std::uint32_t t = 0; t < 3000; ++t)
        for (float& a : model.SampleMatrix().Row(t)) a = noise(random);
    const TRenderStyle style{1.5, ClipLevelOf(model), TPalette::Diverging};
    const TRenderView view{10.5, 2900, 3, 500};
    const TRgbImage one = RenderBScan(model, view, style, 701, 333, 1);
    for (unsigned threads : {2u, 3u, 8u})
        EXPECT_EQ(RenderBScan(model, view, style, 701, 333, threads).Pixels, one.Pixels) << threads;
}

// A sample that is not a number never hides the peak of a pixel, whether it comes first among
// the samples the pixel covers or first among its traces.
TEST(RenderBScan, NotANumberNeverHidesThePeak) {
    TRadargram model;
    Load(model, 2, 2);
    model.SampleMatrix().Row(0)[0] = std::nanf("");
    model.SampleMatrix().Row(0)[1] = 1.0f;
    model.SampleMatrix().Row(1)[0] = 5.0f;
    const TRenderStyle style{1.0, 5.0f, TPalette::Grey};
    // One pixel over both samples of trace 0; one over trace 0 and 1 at sample 0.
    EXPECT_EQ(RenderBScan(model, {0, 1, 0, 2}, style, 1, 1).At(0, 0), Grey(153));
    EXPECT_EQ(RenderBScan(model, {0, 2, 0, 1}, style, 1, 1).At(0, 0), Grey(255));
}

// --- the scale and the colour tables ------------------------------------------------------

// One trace of samples 1, -2, 3, -4, ..., -100: the 98th percentile of |a| by nearest rank is 98.
TEST(ClipLevel, PercentileOfMagnitudes) {
    TRadargram model;
    Load(model, 1, 100);
    for (int s = 0; s < 100; ++s)
        model.SampleMatrix().Row(0)[s] = static_cast<float>(s % 2 ? -(s + 1) : s + 1);
    EXPECT_EQ(ClipLevelOf(model), 98.0f);
    EXPECT_EQ(ClipLevelOf(model, 50.0), 50.0f);
    EXPECT_EQ(ClipLevelOf(model, 100.0), 100.0f);
}

TEST(ClipLevel, ZeroPercentileFallsBackToTheLargestThenToOne) {
    TRadargram model;
    Load(model, 100, 10);
    EXPECT_EQ(ClipLevelOf(model), 1.0f);
    model.SampleMatrix().Row(42)[3] = -0.25f;
    model.SampleMatrix().Row(7)[9] = 0.125f;
    EXPECT_EQ(ClipLevelOf(model), 0.25f);
}

struct TColourCase {
    const char* Name;
    TPalette Palette;
    double Gain;
    float Amplitude;
    TRgb Expected;
};

class ColourTest : public testing::TestWithParam<TColourCase> {};

// The profile of ClipLevel.PercentileOfMagnitudes (scale 98) with the sample under test at the
// end: index = floor(Gain x a x 127.5 / 98 + 128), then the table entry.
TEST_P(ColourTest, AmplitudeToPixel) {
    const TColourCase c = GetParam();
    TRadargram model;
    Load(model, 1, 101);
    for (int s = 0; s < 100; ++s) model.SampleMatrix().Row(0)[s] = static_cast<float>(s + 1);
    model.SampleMatrix().Row(0)[100] = c.Amplitude;
    const TRenderStyle style{c.Gain, 98.0f, c.Palette};
    const TRgbImage image = RenderBScan(model, {0, 1, 100, 1}, style, 1, 1);
    EXPECT_EQ(image.At(0, 0), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Amplitudes, ColourTest,
    testing::Values(
        // 49 x 127.5 / 98 = 63.75
        TColourCase{"GreyPositive", TPalette::Grey, 1, 49, Grey(191)},
        TColourCase{"GreyNegative", TPalette::Grey, 1, -49, Grey(64)},
        TColourCase{"GreyZero", TPalette::Grey, 1, 0, Grey(128)},
        TColourCase{"GreyClipped", TPalette::Grey, 1, 500, Grey(255)},
        TColourCase{"GreyGainClips", TPalette::Grey, 2, -49, Grey(0)},
        TColourCase{"GreyGainHalf", TPalette::Grey, 0.5, 49, Grey(159)},  // 31.875
        // entry 191: 255 - 64 x 255 / 127 rounded = 126 -> (255, 129, 129)
        TColourCase{"DivergingPositive", TPalette::Diverging, 1, 49, {255, 129, 129}},
        // entry 64: 64 x 255 / 128 rounded = 128
        TColourCase{"DivergingNegative", TPalette::Diverging, 1, -49, {128, 128, 255}},
        TColourCase{"DivergingZero", TPalette::Diverging, 1, 0, {255, 255, 255}},
        TColourCase{"DivergingTop", TPalette::Diverging, 1, 98, {255, 0, 0}},
        TColourCase{"DivergingBottom", TPalette::Diverging, 1, -98, {0, 0, 255}},
        TColourCase{"NotANumberIsZero", TPalette::Grey, 1, std::nanf(""), Grey(128)}),
    [](const testing::TestParamInfo<TColourCase>& info) { return info.param.Name; });

TEST(ColourTable, PalettesByName) {
    EXPECT_EQ(PaletteByName("grey"), TPalette::Grey);
    EXPECT_EQ(PaletteByName("diverging"), TPalette::Diverging);
    EXPECT_EQ(PaletteByName("gray"), std::nullopt);
}

// --- labels and axes ----------------------------------------------------------------------

TEST(LabelMarks, FollowTheReadLabelTable) {
    TRadargram model;
    TRadargramContents contents;
    contents.Header.TraceCount = 10;
    contents.Header.SampleCount = 4;
    contents.TraceHeaders.resize(10);
    contents.LabelRecords.resize(10);
    contents.TraceHeaders[2].LabelIndex = 2;  // text of record 0
    contents.TraceHeaders[5].LabelIndex = 1;  // no text; colour of record 1, as its row's
    contents.TraceHeaders[8].LabelIndex = 3;
    contents.LabelTotal = 3;
    contents.LabelRecords[0].LabelColor = 0x0000ff;
    contents.LabelRecords[1].LabelColor = 0x00ff00;
    contents.LabelRecords[2].LabelColor = 0xff0000;
    WriteTextField(contents.LabelRecords[0].LabelText, "Мост");
    WriteTextField(contents.LabelRecords[1].LabelText, "Опора");
    model.Replace(std::move(contents), "profile.GPR2");

    const std::vector<TLabelMark> marks = LabelMarks(model);
    const std::vector<TLabelMark> expected{
        {2, 0x0000ff, "Мост", 1}, {5, 0x00ff00, "", 2}, {8, 0xff0000, "Опора", 3}};
    EXPECT_EQ(marks, expected);

    TRgbImage image(5, 3);
    DrawLabelLines(image, {0, 10, 0, 4}, marks);  // two traces a column
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(image.At(1, y), (TRgb{255, 0, 0}));
        EXPECT_EQ(image.At(2, y), (TRgb{0, 255, 0}));
        EXPECT_EQ(image.At(4, y), (TRgb{0, 0, 255}));
        EXPECT_EQ(image.At(0, y), TRgb{});
        EXPECT_EQ(image.At(3, y), TRgb{});
    }
}

struct TThinningCase {
    std::string Name;
    std::vector<std::uint32_t> Traces;  // of the marks, in order
    TRenderView View;
    int Width;
    std::vector<std::pair<int, bool>> Lines;  // column and crowded
    std::size_t Visible;
};

class LabelThinningTest : public ::testing::TestWithParam<TThinningCase> {};

TEST_P(LabelThinningTest, OneLinePerColumnAndAFreeColumnWhereLabelsCrowd) {
    const TThinningCase& c = GetParam();
    std::vector<TLabelMark> marks;
    for (const std::uint32_t t : c.Traces) marks.push_back({t, 0xff, "", 0});
    const TMarkLayout layout = PlaceLabelLines(marks, c.View, c.Width);
    std::vector<std::pair<int, bool>> lines;
    for (const TPlacedMark& line : layout.Lines) lines.emplace_back(line.X, line.Crowded);
    EXPECT_EQ(lines, c.Lines);
    EXPECT_EQ(layout.Visible, c.Visible);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LabelThinningTest,
    ::testing::Values(
        TThinningCase{
            "Sparse", {1, 5, 9}, {0, 10, 0, 4}, 10, {{1, false}, {5, false}, {9, false}}, 3},
        TThinningCase{"NeighboursAlone", {1, 2}, {0, 10, 0, 4}, 10, {{1, false}, {2, false}}, 2},
        TThinningCase{"SharedColumn", {4, 5, 18}, {0, 20, 0, 4}, 10, {{2, true}, {9, false}}, 3},
        TThinningCase{"LoneLabelBesideACrowd", {4, 5, 9}, {0, 20, 0, 4}, 10, {{2, true}}, 3},
        TThinningCase{"CrowdedNeighboursKeepAGap",
                      {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11},
                      {0, 12, 0, 4},
                      6,
                      {{0, true}, {4, true}},
                      12},
        TThinningCase{"OutsideTheView", {0, 50, 99}, {40, 20, 0, 4}, 20, {{10, false}}, 1}),
    [](const auto& info) { return info.param.Name; });

TEST(LabelThinning, SixThousandLabelsLeaveThreeColumnsInFourFree) {
    std::vector<TLabelMark> marks;
    for (std::uint32_t k = 0; k < 6000; ++k) marks.push_back({k * 33, 0xff, "", 0});
    const TMarkLayout layout = PlaceLabelLines(marks, {0, 200000, 0, 512}, 1600);
    EXPECT_EQ(layout.Visible, 6000u);
    EXPECT_LE(layout.Lines.size(), 400u);
    for (std::size_t i = 1; i < layout.Lines.size(); ++i)
        EXPECT_GE(layout.Lines[i].X - layout.Lines[i - 1].X, kCrowdedSpacing);
}

TEST(ProfileAxes, TimeAndDepth) {
    TRadarHeader header{};
    header.SampleCount = 512;
    header.RecordTime = 200;
    header.Permittivity = 9.0f;  // v = 0.1 m/ns
    const TProfileAxes axes = ProfileAxes(header);
    EXPECT_DOUBLE_EQ(axes.TimeNs(256), 100.0);
    ASSERT_TRUE(axes.DepthMetres(256));
    EXPECT_NEAR(*axes.DepthMetres(256), 5.0, 1e-9);  // 100 ns there and back at 0.1 m/ns

    header.Permittivity = 0.0f;
    EXPECT_FALSE(ProfileAxes(header).DepthMetres(256));
    header.SampleCount = 0;
    EXPECT_EQ(ProfileAxes(header).TimeNs(10), 0.0);
}

}  // namespace
}  // namespace trelvanox
