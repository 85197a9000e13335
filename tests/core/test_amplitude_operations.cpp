#include "amplitude/amplitude_operations.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "common/conversion.h"

namespace trelvanox {
namespace {

using TTraces = std::vector<std::vector<float>>;

// Every matrix cell outside the file holds this, so that a test sees any change there.
constexpr float kOutside = 777.0f;

std::uint32_t Bits(float x) {
    return std::bit_cast<std::uint32_t>(x);
}

// Makes the model a loaded file of the given traces (all of one length).
void Load(TRadargram& model, const TTraces& traces) {
    TRadargramContents contents;
    contents.Header.TraceCount = static_cast<std::uint32_t>(traces.size());
    contents.Header.SampleCount =
        traces.empty() ? 0 : static_cast<std::uint32_t>(traces.front().size());
    contents.TraceHeaders.resize(traces.size());
    contents.LabelRecords.resize(traces.size());
    model.Replace(std::move(contents), "profile.GPR2");
    for (std::size_t t = 0; t <= traces.size(); ++t) {
        const auto row = model.SampleMatrix().Row(t);
        for (std::size_t s = 0; s < row.size(); ++s)
            row[s] = t < traces.size() && s < traces[t].size() ? traces[t][s] : kOutside;
    }
}

// traceCount traces of sampleCount samples, each sample t + 1.
TTraces Uniform(std::size_t traceCount, std::size_t sampleCount) {
    TTraces traces(traceCount);
    for (std::size_t t = 0; t < traceCount; ++t) traces[t].assign(sampleCount, t + 1.0f);
    return traces;
}

// The file's samples and the cells just beyond it, as bits.
std::vector<std::uint32_t> Snapshot(const TRadargram& model) {
    std::vector<std::uint32_t> bits;
    for (std::uint32_t t = 0; t <= model.Header().TraceCount; ++t) {
        for (const float x : model.SampleMatrix().Row(t)) bits.push_back(Bits(x));
    }
    return bits;
}

TTraces Samples(const TRadargram& model) {
    TTraces traces;
    for (std::uint32_t t = 0; t < model.Header().TraceCount; ++t) {
        const auto samples = model.Samples(t);
        traces.emplace_back(samples.begin(), samples.end());
    }
    return traces;
}

struct TProgressLog {
    std::vector<std::uint32_t> Positions;
    TProgress Callback() {
        return [this](std::uint32_t p) { Positions.push_back(p); };
    }
};

// --- the processing window ---

TEST(ProcessingWindowTest, WholeRadargramCountsInUnsignedArithmetic) {
    TRadarHeader header{};
    header.TraceCount = 2000;
    header.SampleCount = 512;
    const TProcessingWindow whole = WholeRadargramWindow(header);
    EXPECT_EQ(whole.FirstTrace, 0u);
    EXPECT_EQ(whole.LastTrace, 1999u);
    EXPECT_EQ(whole.FirstSample, 0u);
    EXPECT_EQ(whole.LastSample, 511u);

    header.TraceCount = 0;
    header.SampleCount = 0;
    EXPECT_EQ(WholeRadargramWindow(header).LastTrace, 4294967295u);
    EXPECT_EQ(WholeRadargramWindow(header).LastSample, 4294967295u);
}

TEST(ProcessingWindowTest, TextsReadAsSpinEditsDo) {
    const TProcessingWindow window = ProcessingWindowFromTexts("250", "-1", "", "1,5");
    EXPECT_EQ(window.FirstTrace, 250u);
    EXPECT_EQ(window.LastTrace, 4294967295u);
    EXPECT_EQ(window.FirstSample, 0u) << "an empty text counts as 0";
    EXPECT_EQ(window.LastSample, 0u) << "a text that is not an integer counts as 0";
}

TEST(ProcessingWindowTest, WholeWindowTakesTheLastTraceAndSample) {
    TRadargram model;
    Load(model, Uniform(3, 4));
    ApplyGain(model, WholeRadargramWindow(model.Header()), {"2", TGainMode::Above, "0", ""});
    EXPECT_EQ(Samples(model), (TTraces{{2, 2, 2, 2}, {4, 4, 4, 4}, {6, 6, 6, 6}}));
    EXPECT_EQ(model.SampleMatrix().Row(0)[4], kOutside);
    EXPECT_EQ(model.SampleMatrix().Row(3)[0], kOutside);
}

struct TWindowCase {
    std::string Name;
    TProcessingWindow Window;
    TTraces Expected;  // of a file of 3 traces x 4 samples, each sample t + 1, doubled
};

void PrintTo(const TWindowCase& c, std::ostream* os) {
    *os << c.Name;
}

class GainWindowTest : public ::testing::TestWithParam<TWindowCase> {};

TEST_P(GainWindowTest, ChangesOnlyTheWindowInsideTheFile) {
    TRadargram model;
    Load(model, Uniform(3, 4));
    const std::vector<std::uint32_t> before = Snapshot(model);
    ApplyGain(model, GetParam().Window, {"2", TGainMode::Above, "0", ""});
    EXPECT_EQ(Samples(model), GetParam().Expected);
    // Cells beyond the counts keep the marker: the window is limited to the file.
    const std::vector<std::uint32_t> after = Snapshot(model);
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (i % kMaxSamples >= 4 || i / kMaxSamples >= 3) {
            ASSERT_EQ(after[i], before[i]) << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, GainWindowTest,
    ::testing::Values(
        TWindowCase{"fragment", {1, 1, 1, 2}, {{1, 1, 1, 1}, {2, 4, 4, 2}, {3, 3, 3, 3}}},
        TWindowCase{
            "beyond_the_file", {1, 200000, 2, 511}, {{1, 1, 1, 1}, {2, 2, 4, 4}, {3, 3, 6, 6}}},
        TWindowCase{"unlimited_last_values",
                    {2, 4294967295u, 0, 4294967295u},
                    {{1, 1, 1, 1}, {2, 2, 2, 2}, {6, 6, 6, 6}}},
        TWindowCase{"first_after_last_trace", {2, 1, 0, 3}, Uniform(3, 4)},
        TWindowCase{"first_after_last_sample", {0, 2, 3, 2}, Uniform(3, 4)},
        TWindowCase{"starts_beyond_the_traces", {3, 10, 0, 3}, Uniform(3, 4)},
        TWindowCase{"starts_beyond_the_samples", {0, 2, 4, 511}, Uniform(3, 4)}),
    [](const auto& info) { return info.param.Name; });

// --- gain ---

struct TGainCase {
    std::string Name;
    TGainMode Mode;
    std::string Factor;
    std::string Threshold;
    std::string Upper;
    std::vector<float> Before;
    std::vector<float> After;
};

void PrintTo(const TGainCase& c, std::ostream* os) {
    *os << c.Name;
}

class GainTest : public ::testing::TestWithParam<TGainCase> {};

TEST_P(GainTest, MultipliesTheQualifyingSamples) {
    const TGainCase& c = GetParam();
    TRadargram model;
    Load(model, {c.Before});
    ApplyGain(model, WholeRadargramWindow(model.Header()),
              {c.Factor, c.Mode, c.Threshold, c.Upper});
    const auto samples = model.Samples(0);
    ASSERT_EQ(samples.size(), c.After.size());
    for (std::size_t s = 0; s < samples.size(); ++s)
        EXPECT_EQ(Bits(samples[s]), Bits(c.After[s])) << "sample " << s << ": " << samples[s];
}

INSTANTIATE_TEST_SUITE_P(
    Examples, GainTest,
    ::testing::Values(
        TGainCase{"start_values_change_nothing",
                  TGainMode::Below,
                  "0",
                  "0",
                  "",
                  {1.0f, -1.0f, 0.0f},
                  {1.0f, -1.0f, 0.0f}},
        TGainCase{"below",
                  TGainMode::Below,
                  "2",
                  "100",
                  "",
                  {-99.5f, 100.0f, -150.0f},
                  {-199.0f, 100.0f, -150.0f}},
        TGainCase{
            "above", TGainMode::Above, "0.5", "1000", "", {1000.0f, -2000.0f}, {1000.0f, -1000.0f}},
        TGainCase{"between",
                  TGainMode::Between,
                  "-1",
                  "10",
                  "20",
                  {10.0f, 20.0f, 15.0f},
                  {10.0f, 20.0f, -15.0f}},
        TGainCase{"negative_thresholds_as_magnitudes",
                  TGainMode::Between,
                  "-1",
                  "-10",
                  "-20",
                  {10.0f, 20.0f, 15.0f},
                  {10.0f, 20.0f, -15.0f}},
        TGainCase{"negative_threshold_below",
                  TGainMode::Below,
                  "3",
                  "-5",
                  "",
                  {-4.0f, 5.0f},
                  {-12.0f, 5.0f}},
        TGainCase{"extended_factor_rounded_once",
                  TGainMode::Above,
                  "1.1",
                  "0",
                  "",
                  {0x1.7639fep+8f, 0x1.1e9ddcp+6f},
                  {0x1.9ba63p+8f, 0x1.3b473ep+6f}},
        TGainCase{"exponent_texts",
                  TGainMode::Below,
                  "2E0",
                  "1e2",
                  "",
                  {99.0f, 100.0f},
                  {198.0f, 100.0f}},
        TGainCase{"overflow_to_infinity",
                  TGainMode::Above,
                  "1e30",
                  "1",
                  "",
                  {-1e20f},
                  {-std::numeric_limits<float>::infinity()}}),
    [](const auto& info) { return info.param.Name; });

// --- texts that do not convert ---

using TOperation = std::function<void(TRadargram&)>;

struct TFailureCase {
    std::string Name;
    TTraces File;
    TOperation Run;
    std::optional<std::string> Message;  // nothing: the text is never needed, no error
};

void PrintTo(const TFailureCase& c, std::ostream* os) {
    *os << c.Name;
}

class ConversionFailureTest : public ::testing::TestWithParam<TFailureCase> {};

TEST_P(ConversionFailureTest, FailsBeforeAnySampleChanges) {
    const TFailureCase& c = GetParam();
    TRadargram model;
    Load(model, c.File);
    const std::vector<std::uint32_t> before = Snapshot(model);
    if (c.Message) {
        try {
            c.Run(model);
            ADD_FAILURE() << "no conversion error";
        } catch (const TConversionError& e) {
            EXPECT_EQ(e.what(), *c.Message);
        }
    } else {
        EXPECT_NO_THROW(c.Run(model));
    }
    EXPECT_EQ(Snapshot(model), before);
}

TOperation Gain(TProcessingWindow window, TGainTexts texts) {
    return [=](TRadargram& model) { ApplyGain(model, window, texts); };
}

TOperation GainWhole(TGainTexts texts) {
    return
        [=](TRadargram& model) { ApplyGain(model, WholeRadargramWindow(model.Header()), texts); };
}

TOperation Zero(std::string first, std::string last) {
    return [=](TRadargram& model) { ZeroTraces(model, first, last); };
}

const TTraces kSmall = {{1.0f, 50.0f}, {-2.0f, 5.0f}};

INSTANTIATE_TEST_SUITE_P(Texts, ConversionFailureTest,
                         ::testing::Values(TFailureCase{"empty_threshold", kSmall,
                                                        GainWhole({"2", TGainMode::Below, "", ""}),
                                                        "'' is not a valid floating point value"},
                                           TFailureCase{
                                               "comma_factor", kSmall,
                                               GainWhole({"1,5", TGainMode::Below, "10", ""}),
                                               "'1,5' is not a valid floating point value"},
                                           TFailureCase{
                                               "comma_factor_when_nothing_qualifies", kSmall,
                                               GainWhole({"1,5", TGainMode::Above, "100", ""}),
                                               std::nullopt},
                                           TFailureCase{
                                               "upper_threshold", kSmall,
                                               GainWhole({"2", TGainMode::Between, "10", "abc"}),
                                               "'abc' is not a valid floating point value"},
                                           TFailureCase{
                                               "upper_threshold_before_factor", kSmall,
                                               GainWhole({"x", TGainMode::Between, "10", "y"}),
                                               "'y' is not a valid floating point value"},
                                           TFailureCase{
                                               "upper_threshold_when_nothing_is_above_the_lower",
                                               kSmall,
                                               GainWhole({"2", TGainMode::Between, "60", "abc"}),
                                               std::nullopt},
                                           TFailureCase{
                                               "factor_when_between_leaves_nothing", kSmall,
                                               GainWhole({"x", TGainMode::Between, "10", "20"}),
                                               std::nullopt},
                                           TFailureCase{
                                               "threshold_of_an_empty_window", kSmall,
                                               Gain({1, 0, 0, 1}, {"2", TGainMode::Below, "", ""}),
                                               std::nullopt},
                                           TFailureCase{
                                               "threshold_of_a_window_beyond_the_file", kSmall,
                                               Gain({2, 9, 0, 1}, {"2", TGainMode::Below, "", ""}),
                                               std::nullopt},
                                           TFailureCase{
                                               "factor_when_nothing_in_the_window_qualifies",
                                               kSmall,
                                               Gain({1, 1, 0, 0}, {"z", TGainMode::Below, "2", ""}),
                                               std::nullopt},
                                           TFailureCase{
                                               "clip_level", kSmall,
                                               [](TRadargram& model) { ClipAmplitudes(model, ""); },
                                               "'' is not a valid floating point value"},
                                           TFailureCase{"silence_level", kSmall,
                                                        [](TRadargram& model) {
                                                            SilenceAmplitudes(model, "5 ");
                                                        },
                                                        "'5 ' is not a valid floating point value"},
                                           TFailureCase{
                                               "first_trace", kSmall,
                                               Zero("", "1"), "'' is not a valid integer value"},
                                           TFailureCase{"first_trace_fraction", kSmall,
                                                        Zero("1.5", "1"),
                                                        "'1.5' is not a valid integer value"},
                                           TFailureCase{
                                               "last_trace", kSmall,
                                               Zero("1", "x"), "'x' is not a valid integer value"},
                                           TFailureCase{"last_trace_never_reached", kSmall,
                                                        Zero("2", "x"), std::nullopt},
                                           TFailureCase{"file_without_samples",
                                                        {{}, {}},
                                                        [](TRadargram& model) {
                                                            ClipAmplitudes(model, "");
                                                            SilenceAmplitudes(model, "");
                                                            ApplyGain(
                                                                model,
                                                                WholeRadargramWindow(
                                                                    model.Header()),
                                                                {"", TGainMode::Between, "", ""});
                                                        },
                                                        std::nullopt}),
                         [](const auto& info) { return info.param.Name; });

TEST(ConversionFailureTest, FileWithoutTracesNeedsNoText) {
    TRadargram model;
    Load(model, {});
    TProgressLog log;
    EXPECT_NO_THROW(ApplyGain(model, WholeRadargramWindow(model.Header()),
                              {"", TGainMode::Below, "", ""}, log.Callback()));
    EXPECT_NO_THROW(ClipAmplitudes(model, "", log.Callback()));
    EXPECT_NO_THROW(SilenceAmplitudes(model, "", log.Callback()));
    EXPECT_NO_THROW(ZeroTraces(model, "", "", log.Callback()));
    EXPECT_EQ(FindExtremes(model, log.Callback()).MaxText(), "0");
    EXPECT_FALSE(ZeroLargestAmplitude(model, log.Callback()));
    EXPECT_TRUE(log.Positions.empty());
    EXPECT_EQ(model.SampleMatrix().Row(0)[0], kOutside);
}

// --- progress ---

std::vector<std::uint32_t> Range(std::uint32_t first, std::uint32_t last, std::uint32_t step = 1) {
    std::vector<std::uint32_t> values;
    for (std::uint32_t v = first; v <= last; v += step) values.push_back(v);
    return values;
}

struct TProgressCase {
    std::string Name;
    std::size_t Traces;
    std::function<void(TRadargram&, const TProgress&)> Run;
    std::vector<std::uint32_t> Expected;
};

void PrintTo(const TProgressCase& c, std::ostream* os) {
    *os << c.Name;
}

class ProgressTest : public ::testing::TestWithParam<TProgressCase> {};

TEST_P(ProgressTest, ReportsEachNewPositionInOrder) {
    const TProgressCase& c = GetParam();
    TRadargram model;
    Load(model, Uniform(c.Traces, 2));
    TProgressLog log;
    c.Run(model, log.Callback());
    EXPECT_EQ(log.Positions, c.Expected);
}

auto GainOver(TProcessingWindow window) {
    return [=](TRadargram& model, const TProgress& progress) {
        ApplyGain(model, window, {"2", TGainMode::Below, "1e9", ""}, progress);
    };
}

INSTANTIATE_TEST_SUITE_P(
    Operations, ProgressTest,
    ::testing::Values(
        TProgressCase{"gain_whole", 4, GainOver({0, 3, 0, 1}), {0, 33, 66, 100}},
        TProgressCase{"gain_fragment", 2001, GainOver({1000, 2000, 0, 1}), Range(0, 100)},
        TProgressCase{"gain_single_trace_sets_none", 4, GainOver({2, 2, 0, 1}), {}},
        TProgressCase{
            "gain_window_limited_to_file", 5, GainOver({0, 200000, 0, 511}), {0, 25, 50, 75, 100}},
        TProgressCase{"gain_without_samples_still_moves", 3, GainOver({0, 2, 5, 9}), {0, 50, 100}},
        TProgressCase{"clip", 10,
                      [](TRadargram& m, const TProgress& p) { ClipAmplitudes(m, "5", p); },
                      Range(0, 90, 10)},
        TProgressCase{"silence_reports_each_position_once", 300,
                      [](TRadargram& m, const TProgress& p) { SilenceAmplitudes(m, "5", p); },
                      Range(0, 99)},
        TProgressCase{"zero_traces",
                      10,
                      [](TRadargram& m, const TProgress& p) { ZeroTraces(m, "3", "5", p); },
                      {30, 40, 50}},
        TProgressCase{"zero_no_traces",
                      10,
                      [](TRadargram& m, const TProgress& p) { ZeroTraces(m, "7", "2", p); },
                      {}},
        TProgressCase{"extremes",
                      4,
                      [](TRadargram& m, const TProgress& p) { FindExtremes(m, p); },
                      {0, 25, 50, 75}},
        TProgressCase{"zero_max",
                      4,
                      [](TRadargram& m, const TProgress& p) { ZeroLargestAmplitude(m, p); },
                      {0, 25, 50, 75}}),
    [](const auto& info) { return info.param.Name; });

// --- clipping, silencing and trace zeroing over a file ---

TEST(ClipAmplitudesTest, BothStagesWithStartValuesLeaveSignedZeros) {
    TRadargram model;
    Load(model, {{250.0f, -250.0f, 0.0f}, {-0.5f, 3.0f, -0.0f}});
    ClipAmplitudes(model, "0");
    SilenceAmplitudes(model, "0");
    const TTraces after = Samples(model);
    const std::vector<bool> negative = {false, true, false, true, false, true};
    for (std::size_t i = 0; i < negative.size(); ++i) {
        const float x = after[i / 3][i % 3];
        EXPECT_EQ(x, 0.0f) << i;
        EXPECT_EQ(std::signbit(x), negative[i]) << i;
    }
}

TEST(ClipAmplitudesTest, SilencingSeesTheClippedValues) {
    TRadargram model;
    Load(model, {{250.0f, -150.0f, 99.0f, -300.0f}});
    ClipAmplitudes(model, "100");
    EXPECT_EQ(Samples(model), (TTraces{{100.0f, -100.0f, 99.0f, -100.0f}}));
    SilenceAmplitudes(model, "200");
    EXPECT_EQ(Samples(model), (TTraces{{0.0f, 0.0f, 0.0f, 0.0f}}));
    EXPECT_EQ(model.SampleMatrix().Row(0)[4], kOutside);
}

struct TZeroCase {
    std::string Name;
    std::string First;
    std::string Last;
    std::vector<std::size_t> Zeroed;
};

void PrintTo(const TZeroCase& c, std::ostream* os) {
    *os << c.Name;
}

class ZeroTracesTest : public ::testing::TestWithParam<TZeroCase> {};

TEST_P(ZeroTracesTest, ZeroesTheRangeInsideTheFile) {
    const TZeroCase& c = GetParam();
    TRadargram model;
    Load(model, Uniform(10, 3));
    ZeroTraces(model, c.First, c.Last);
    TTraces expected = Uniform(10, 3);
    for (const std::size_t t : c.Zeroed) expected[t].assign(3, 0.0f);
    EXPECT_EQ(Samples(model), expected);
    EXPECT_EQ(model.SampleMatrix().Row(10)[0], kOutside);
    EXPECT_EQ(model.SampleMatrix().Row(0)[3], kOutside);
}

INSTANTIATE_TEST_SUITE_P(Ranges, ZeroTracesTest,
                         ::testing::Values(TZeroCase{"middle", "3", "5", {3, 4, 5}},
                                           TZeroCase{"single", "0", "0", {0}},
                                           TZeroCase{"reversed", "7", "2", {}},
                                           TZeroCase{"beyond_the_file", "8", "100", {8, 9}},
                                           TZeroCase{"last_as_unsigned", "8", "-1", {8, 9}},
                                           TZeroCase{"first_as_unsigned", "-1", "5", {}}),
                         [](const auto& info) { return info.param.Name; });

// --- extremes ---

struct TExtremesCase {
    std::string Name;
    TTraces File;
    std::string MinText;
    std::optional<TSamplePosition> MinPosition;
    std::string MaxText;
    std::optional<TSamplePosition> MaxPosition;
};

void PrintTo(const TExtremesCase& c, std::ostream* os) {
    *os << c.Name;
}

class FindExtremesTest : public ::testing::TestWithParam<TExtremesCase> {};

TEST_P(FindExtremesTest, FindsTheFirstSampleOfEachExtreme) {
    const TExtremesCase& c = GetParam();
    TRadargram model;
    Load(model, c.File);
    const TExtremes found = FindExtremes(model);
    EXPECT_EQ(found.MinText(), c.MinText);
    EXPECT_EQ(found.MinPosition, c.MinPosition);
    EXPECT_EQ(found.MaxText(), c.MaxText);
    EXPECT_EQ(found.MaxPosition, c.MaxPosition);
}

constexpr float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Files, FindExtremesTest,
    ::testing::Values(
        TExtremesCase{"tie_goes_to_the_first",
                      {{0.0f, -3.0f, 0.5f, 3.0f}},
                      "0.5",
                      TSamplePosition{0, 2},
                      "3",
                      TSamplePosition{0, 1}},
        TExtremesCase{"stored_tenth",
                      {{0.1f, -0.1f}},
                      "0.100000001490116",
                      TSamplePosition{0, 0},
                      "0.100000001490116",
                      TSamplePosition{0, 0}},
        TExtremesCase{
            "all_zero", {{0.0f, -0.0f}, {0.0f, 0.0f}}, "30000000", std::nullopt, "0", std::nullopt},
        TExtremesCase{"ties_across_traces",
                      {{1.0f, 5.0f}, {-5.0f, 1.0f}, {0.5f, 5.0f}},
                      "0.5",
                      TSamplePosition{2, 0},
                      "5",
                      TSamplePosition{0, 1}},
        TExtremesCase{"minimum_ignores_zeros",
                      {{0.0f, 0.0f}, {0.0f, -0.25f}},
                      "0.25",
                      TSamplePosition{1, 1},
                      "0.25",
                      TSamplePosition{1, 1}},
        TExtremesCase{"nothing_below_the_start_minimum",
                      {{4e7f, -3e7f}},
                      "30000000",
                      std::nullopt,
                      "40000000",
                      TSamplePosition{0, 0}},
        TExtremesCase{
            "infinity", {{1.0f, -kInf}}, "1", TSamplePosition{0, 0}, "INF", TSamplePosition{0, 1}}),
    [](const auto& info) { return info.param.Name; });

TEST(FindExtremesTest, PositionTextNamesTraceAndSample) {
    EXPECT_EQ(PositionText({12, 3}), "Трасса № 12 / Отсчет №3");
    EXPECT_EQ(PositionText({0, 511}), "Трасса № 0 / Отсчет №511");
}

TEST(ZeroLargestAmplitudeTest, ZeroesOneSampleAtATimeInTraceMajorOrder) {
    TRadargram model;
    Load(model, {{0.0f, -3.0f}, {0.5f, 3.0f}});
    EXPECT_EQ(ZeroLargestAmplitude(model), (TSamplePosition{0, 1}));
    EXPECT_EQ(Bits(model.Samples(0)[1]), Bits(0.0f)) << "positive zero";
    EXPECT_EQ(ZeroLargestAmplitude(model), (TSamplePosition{1, 1}));
    EXPECT_EQ(Samples(model), (TTraces{{0.0f, 0.0f}, {0.5f, 0.0f}}));
}

TEST(ZeroLargestAmplitudeTest, AllZeroFileChangesNothing) {
    TRadargram model;
    Load(model, {{0.0f, -0.0f}});
    const std::vector<std::uint32_t> before = Snapshot(model);
    EXPECT_EQ(ZeroLargestAmplitude(model), std::nullopt);
    EXPECT_EQ(Snapshot(model), before);
}

}  // namespace
}  // namespace trelvanox
