#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "common/program_error.h"
#include "processing/chain_runner.h"
#include "processing/dewow_step.h"
#include "processing/processing_chain.h"
#include "processing/step_registry.h"

namespace trelvanox {
namespace {

using TTraces = std::vector<std::vector<float>>;

// A loaded profile holding traces (all of one length), recorded over recordTime ns.
void Load(TRadargram& model, const TTraces& traces, std::uint32_t recordTime = 0) {
    TRadargramContents contents;
    contents.Header.TraceCount = static_cast<std::uint32_t>(traces.size());
    contents.Header.SampleCount =
        traces.empty() ? 0 : static_cast<std::uint32_t>(traces.front().size());
    contents.Header.RecordTime = recordTime;
    contents.TraceHeaders.resize(traces.size());
    contents.LabelRecords.resize(traces.size());
    model.Replace(std::move(contents), "profile.GPR2");
    for (std::size_t t = 0; t < traces.size(); ++t)
        std::copy(traces[t].begin(), traces[t].end(), model.SampleMatrix().Row(t).begin());
}

TTraces Rows(const TProcessedTraces& processed) {
    TTraces rows;
    for (std::uint32_t t = processed.First; t < processed.First + processed.Count; ++t) {
        const auto row = processed.Trace(t);
        rows.emplace_back(row.begin(), row.end());
    }
    return rows;
}

TTraces Process(const std::string& text, const TTraces& traces, std::uint32_t recordTime = 0) {
    TRadargram model;
    Load(model, traces, recordTime);
    return Rows(*ProcessProfile(model, ParseChain(text)));
}

void ExpectNear(const TTraces& actual, const TTraces& expected, double tolerance = 1e-5) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t t = 0; t < actual.size(); ++t) {
        ASSERT_EQ(actual[t].size(), expected[t].size()) << "trace " << t;
        for (std::size_t j = 0; j < actual[t].size(); ++j)
            EXPECT_NEAR(actual[t][j], expected[t][j], tolerance)
                << "trace " << t << " sample " << j;
    }
}

// --- each step against values worked out by hand ---------------------------------------------

struct TStepCase {
    const char* Name;
    const char* Text;
    TTraces In;
    std::uint32_t RecordTime;
    TTraces Expected;
};

void PrintTo(const TStepCase& c, std::ostream* out) {
    *out << c.Text;
}

class StepValuesTest : public testing::TestWithParam<TStepCase> {};

TEST_P(StepValuesTest, MatchesTheDefinition) {
    const TStepCase& c = GetParam();
    ExpectNear(Process(c.Text, c.In, c.RecordTime), c.Expected);
}

const float kThird = 1.0f / 3.0f;
const float kRms12_5 = std::sqrt(12.5f);
const float kRms25_3 = std::sqrt(25.0f / 3.0f);

INSTANTIATE_TEST_SUITE_P(
    Steps, StepValuesTest,
    testing::Values(
        // Time zero: the trace moves up, zeros come in at the bottom.
        TStepCase{"ZeroRamp", "zero=2", {{1, 2, 3, 4, 5}}, 0, {{3, 4, 5, 0, 0}}},
        TStepCase{"ZeroNone", "zero=0", {{1, 2, 3}}, 0, {{1, 2, 3}}},
        TStepCase{"ZeroWholeTrace", "zero=5", {{1, 2, 3, 4, 5}}, 0, {{0, 0, 0, 0, 0}}},
        TStepCase{"ZeroBeyondTrace", "zero=9", {{1, 2, 3}}, 0, {{0, 0, 0}}},
        TStepCase{"ZeroOneSample", "zero=1", {{7}}, 0, {{0}}},
        // Dewow: the window is cut at both ends of the trace.
        TStepCase{"DewowRamp", "dewow=3", {{1, 2, 3, 4, 5}}, 0, {{-0.5f, 0, 0, 0, 0.5f}}},
        TStepCase{"DewowStep", "dewow=3", {{0, 0, 1, 1, 1}}, 0, {{0, -kThird, kThird, 0, 0}}},
        TStepCase{"DewowWiderThanTrace", "dewow=15", {{1, 2, 3, 4, 5}}, 0, {{-2, -1, 0, 1, 2}}},
        TStepCase{"DewowOneSample", "dewow=3", {{7}}, 0, {{0}}},
        TStepCase{"DewowSpike",
                  "dewow=5",
                  {{0, 0, 5, 0, 0, 0}},
                  0,
                  {{-5.0f / 3, -5.0f / 4, 4, -1, -5.0f / 4, 0}}},
        // Background removal over all traces and over a run cut to the profile.
        TStepCase{
            "BackgroundAll", "bgr=0", {{1, 2}, {3, 4}, {5, 9}}, 0, {{-2, -3}, {0, -1}, {2, 4}}},
        TStepCase{
            "BackgroundRun", "bgr=3", {{1, 2}, {3, 4}, {5, 9}}, 0, {{-1, -1}, {0, -1}, {1, 2.5f}}},
        TStepCase{"BackgroundRunLongerThanProfile",
                  "bgr=7",
                  {{1, 2}, {3, 4}, {5, 9}},
                  0,
                  {{-2, -3}, {0, -1}, {2, 4}}},
        TStepCase{"BackgroundOneTrace", "bgr=0", {{1, 2}}, 0, {{0, 0}}},
        TStepCase{"BackgroundRunOfOne", "bgr=1", {{1, 2}, {3, 4}}, 0, {{0, 0}, {0, 0}}},
        // Time gain: dt = 10 ns / 5 samples = 2 ns.
        TStepCase{"TimeGainLinear", "tpow=1", {{1, 1, 1, 1, 1}}, 10, {{2, 4, 6, 8, 10}}},
        TStepCase{"TimeGainSquare", "tpow=2", {{1, -1, 0, 1, 0.5f}}, 10, {{4, -16, 0, 64, 50}}},
        TStepCase{"TimeGainNone", "tpow=0", {{3, -2}}, 10, {{3, -2}}},
        TStepCase{"TimeGainOneSample", "tpow=1.5", {{2}}, 4, {{16}}},
        // AGC: divided by the rms over the cut window; 0 where the window holds only zeros.
        TStepCase{
            "AgcSpikes", "agc=3", {{3, -4, 0, 0, 0}}, 0, {{3 / kRms12_5, -4 / kRms25_3, 0, 0, 0}}},
        TStepCase{"AgcConstant", "agc=51", {{-2, -2, -2}}, 0, {{-1, -1, -1}}},
        TStepCase{"AgcZeros", "agc=3", {{0, 0, 0}}, 0, {{0, 0, 0}}},
        TStepCase{"AgcOneSample", "agc=1", {{-5, 0.25f}}, 0, {{-1, 1}}}),
    [](const testing::TestParamInfo<TStepCase>& info) { return std::string(info.param.Name); });

// A sine of a whole number of periods of W samples: over a window of one period its mean is 0
// and its rms 1 / sqrt(2), so away from the ends dewow leaves it as it is and AGC scales it by
// sqrt(2); near the ends the cut window changes both.
TEST(StepValues, SineOverOnePeriod) {
    constexpr std::uint32_t kPeriod = 9;
    constexpr std::uint32_t kSamples = 6 * kPeriod;
    TTraces sine(1, std::vector<float>(kSamples));
    for (std::uint32_t j = 0; j < kSamples; ++j)
        sine[0][j] = static_cast<float>(std::sin(2 * std::numbers::pi * j / kPeriod + 0.4));
    const TTraces dewow = Process("dewow=9", sine);
    const TTraces agc = Process("agc=9", sine);
    for (std::uint32_t j = kPeriod / 2; j + kPeriod / 2 < kSamples; ++j) {
        EXPECT_NEAR(dewow[0][j], sine[0][j], 1e-5) << j;
        EXPECT_NEAR(agc[0][j], std::sqrt(2.0) * sine[0][j], 1e-4) << j;
    }
    EXPECT_GT(std::fabs(dewow[0][0] - sine[0][0]), 1e-3);
}

// --- the envelope -----------------------------------------------------------------------------

class EnvelopeTest : public testing::TestWithParam<std::uint32_t> {
  protected:
    void SetUp() override {
        if (!FindProcessingStep("envelope")) GTEST_SKIP() << "this build has no envelope";
    }
};

// A cosine of a whole number of periods has the envelope 1 everywhere, the odd and even lengths
// alike; two traces of different amplitude go through one transform and must not mix.
TEST_P(EnvelopeTest, OfACosineIsItsAmplitude) {
    const std::uint32_t n = GetParam();
    TTraces traces(3, std::vector<float>(n));
    for (std::uint32_t j = 0; j < n; ++j) {
        const double phase = 2 * std::numbers::pi * 5 * j / n;
        traces[0][j] = static_cast<float>(std::cos(phase));
        traces[1][j] = static_cast<float>(3 * std::sin(phase + 0.3));
        traces[2][j] = static_cast<float>(-0.5 * std::cos(phase));
    }
    const TTraces out = Process("envelope", traces);
    for (std::uint32_t j = 0; j < n; ++j) {
        EXPECT_NEAR(out[0][j], 1.0, 1e-4) << j;
        EXPECT_NEAR(out[1][j], 3.0, 3e-4) << j;
        EXPECT_NEAR(out[2][j], 0.5, 1e-4) << j;
    }
}

// A Gaussian pulse on a carrier well above its bandwidth: the envelope is the Gaussian.
TEST_P(EnvelopeTest, OfAGaussianPulseIsTheGaussian) {
    const std::uint32_t n = GetParam();
    const double centre = n / 2.0;
    const double width = n / 16.0;
    const auto gaussian = [&](double j) { return std::exp(-std::pow((j - centre) / width, 2)); };
    TTraces traces(1, std::vector<float>(n));
    for (std::uint32_t j = 0; j < n; ++j)
        traces[0][j] = static_cast<float>(gaussian(j) * std::cos(2 * std::numbers::pi * 0.2 * j));
    const TTraces out = Process("envelope", traces);
    for (std::uint32_t j = 0; j < n; ++j) EXPECT_NEAR(out[0][j], gaussian(j), 2e-3) << j;
}

INSTANTIATE_TEST_SUITE_P(Lengths, EnvelopeTest, testing::Values(128u, 255u, 512u));

// Enough traces for every core: the threads share the transforms' plan and must not disturb
// each other.
TEST(EnvelopeEdges, ManyTracesOnEveryCore) {
    if (!FindProcessingStep("envelope")) GTEST_SKIP() << "this build has no envelope";
    constexpr std::uint32_t kSamples = 96;
    TTraces traces(5001, std::vector<float>(kSamples));
    for (std::uint32_t t = 0; t < traces.size(); ++t)
        for (std::uint32_t j = 0; j < kSamples; ++j)
            traces[t][j] = static_cast<float>(
                (1 + t % 7) *
                std::cos(2 * std::numbers::pi * (1 + t % 11) * j / kSamples + 0.1 * t));
    const TTraces out = Process("envelope", traces);
    for (std::uint32_t t = 0; t < traces.size(); ++t)
        for (std::uint32_t j = 0; j < kSamples; ++j)
            ASSERT_NEAR(out[t][j], 1 + t % 7, 1e-3 * (1 + t % 7)) << t << ' ' << j;
}

// A trace too short to hold a positive frequency has no Hilbert part: the envelope is |x|.
TEST(EnvelopeEdges, ShortTracesGiveTheMagnitude) {
    if (!FindProcessingStep("envelope")) GTEST_SKIP() << "this build has no envelope";
    ExpectNear(Process("envelope", {{-3}}), {{3}});
    ExpectNear(Process("envelope", {{-3, 4}, {1, -1}}), {{3, 4}, {1, 1}});
}

// --- chains -----------------------------------------------------------------------------------

TEST(ChainOrder, StepsRunInTheOrderWritten) {
    const TTraces ones{{1, 1, 1, 1}};
    ExpectNear(Process("zero=1,tpow=1", ones, 4), {{1, 2, 3, 0}});
    ExpectNear(Process("tpow=1,zero=1", ones, 4), {{2, 3, 4, 0}});
    // Background then gain against gain then background (same here, both linear) and a step
    // that is not: AGC after background sees the background gone.
    ExpectNear(Process("bgr=0,agc=1", {{1, 2}, {3, 2}}), {{-1, 0}, {1, 0}});
    ExpectNear(Process("agc=1,bgr=0", {{1, 2}, {3, 2}}), {{0, 0}, {0, 0}});
}

TEST(ChainOrder, StepsThatAreOffDoNotRun) {
    ExpectNear(Process("-zero=1,tpow=1", {{1, 1}}, 2), {{1, 2}});
    ExpectNear(Process("-tpow=1", {{1, 1}}, 2), {{1, 1}});
}

TEST(ChainText, ReadsBackTheSameChain) {
    const std::string text = std::string("zero=12,dewow=15,bgr=0,tpow=1.5,agc=51") +
                             (FindProcessingStep("envelope") ? ",envelope" : "");
    EXPECT_EQ(ChainText(ParseChain(text)), text);
    const TProcessingChain chain = ParseChain(" -dewow = 15 , tpow=0.25");
    ASSERT_EQ(chain.size(), 2u);
    EXPECT_FALSE(chain[0].On);
    EXPECT_EQ(chain[0].Kind->Name, "dewow");
    EXPECT_EQ(chain[0].Value, 15);
    EXPECT_TRUE(chain[1].On);
    EXPECT_EQ(ChainText(chain), "-dewow=15,tpow=0.25");
}

struct TRefusalCase {
    const char* Text;
    const char* Named;  // the message names this
};

void PrintTo(const TRefusalCase& c, std::ostream* out) {
    *out << '"' << c.Text << '"';
}

class ChainRefusalTest : public testing::TestWithParam<TRefusalCase> {};

TEST_P(ChainRefusalTest, NamesTheStep) {
    try {
        ParseChain(GetParam().Text);
        FAIL() << "accepted";
    } catch (const TProgramError& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().Named), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    BadChains, ChainRefusalTest,
    testing::Values(TRefusalCase{"dewow=14", "dewow=14: the window must be an odd"},
                    TRefusalCase{"dewow=0", "dewow=0"}, TRefusalCase{"dewow", "dewow needs"},
                    TRefusalCase{"dewow=", "dewow needs"}, TRefusalCase{"dewow=1x", "dewow=1x"},
                    TRefusalCase{"dewow=2000", "dewow=2000"}, TRefusalCase{"agc=50", "agc=50"},
                    TRefusalCase{"bgr=2", "bgr=2"}, TRefusalCase{"bgr=-1", "bgr=-1"},
                    TRefusalCase{"zero=-1", "zero=-1"}, TRefusalCase{"zero=1.5", "zero=1.5"},
                    TRefusalCase{"zero=512", "zero=512"}, TRefusalCase{"tpow=nan", "tpow"},
                    TRefusalCase{"tpow=inf", "tpow"}, TRefusalCase{"tpow=5.5", "tpow=5.5"},
                    TRefusalCase{"tpow=-1", "tpow=-1"}, TRefusalCase{"envelope=3", "envelope"},
                    TRefusalCase{"foo=1", "'foo'"}, TRefusalCase{"", "no processing steps"},
                    TRefusalCase{"dewow=15,,bgr=0", "empty processing step"},
                    TRefusalCase{"dewow=15,", "empty processing step"}));

TEST(ChainRefusal, TimeGainNeedsARecordingTime) {
    TRadargram model;
    Load(model, {{1, 2}});
    try {
        ProcessProfile(model, ParseChain("tpow=1"));
        FAIL() << "accepted";
    } catch (const TProgramError& e) {
        EXPECT_NE(std::string(e.what()).find("tpow"), std::string::npos) << e.what();
    }
}

// --- parts of a profile -----------------------------------------------------------------------

TTraces RandomTraces(std::uint32_t traces, std::uint32_t samples) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> amplitude(-100, 100);
    TTraces out(traces, std::vector<float>(samples));
    for (auto& trace : out)
        for (float& a : trace) a = amplitude(random);
    return out;
}

// --- the running sums against the definitions, worked out directly in double --------------------

// dewow=W (squares false) or agc=W over each trace, the window cut to the trace.
TTraces WindowReference(const TTraces& in, std::uint32_t window, bool agc) {
    TTraces out = in;
    const auto half = static_cast<std::int64_t>(window / 2);
    for (std::size_t t = 0; t < in.size(); ++t) {
        const auto samples = static_cast<std::int64_t>(in[t].size());
        for (std::int64_t j = 0; j < samples; ++j) {
            double sum = 0;
            const std::int64_t first = std::max<std::int64_t>(0, j - half);
            const std::int64_t end = std::min(samples, j + half + 1);
            for (std::int64_t i = first; i < end; ++i)
                sum += agc ? double{in[t][i]} * in[t][i] : in[t][i];
            const double mean = sum / static_cast<double>(end - first);
            out[t][j] = static_cast<float>(agc ? (mean > 0 ? in[t][j] / std::sqrt(mean) : 0)
                                               : in[t][j] - mean);
        }
    }
    return out;
}

// bgr=N (0: all traces).
TTraces BackgroundReference(const TTraces& in, std::uint32_t traces) {
    TTraces out = in;
    const auto count = static_cast<std::int64_t>(in.size());
    const std::int64_t half = traces == 0 ? count : traces / 2;
    for (std::size_t j = 0; j < in.front().size(); ++j)
        for (std::int64_t t = 0; t < count; ++t) {
            const std::int64_t first = std::max<std::int64_t>(0, t - half);
            const std::int64_t end = std::min(count, t + half + 1);
            double sum = 0;
            for (std::int64_t u = first; u < end; ++u) sum += in[u][j];
            out[t][j] = static_cast<float>(in[t][j] - sum / static_cast<double>(end - first));
        }
    return out;
}

// Each trace: strong samples (amplitude 30000) for its first tenth, then weak ones (about 0.01),
// as a profile's direct wave and its deep reflections; a running sum that kept the rounding of
// the strong samples would spoil the weak ones.
TTraces StrongThenWeak(std::uint32_t traces, std::uint32_t samples) {
    TTraces out = RandomTraces(traces, samples);
    for (auto& trace : out)
        for (std::size_t j = 0; j < trace.size(); ++j)
            trace[j] *= j < trace.size() / 10 ? 300.0f : 1e-4f;
    return out;
}

struct TRunningCase {
    const char* Name;
    const char* Text;
    std::uint32_t Traces;
    std::uint32_t Samples;
    bool StrongThenWeak;
};

class RunningSumsTest : public testing::TestWithParam<TRunningCase> {};

// Relative to each sample's own size, so that the weak samples count as much as the strong.
TEST_P(RunningSumsTest, MatchTheDefinition) {
    const TRunningCase& c = GetParam();
    const TTraces in =
        c.StrongThenWeak ? StrongThenWeak(c.Traces, c.Samples) : RandomTraces(c.Traces, c.Samples);
    const std::string text = c.Text;
    const auto value = static_cast<std::uint32_t>(std::stoul(text.substr(text.find('=') + 1)));
    const TTraces expected = text.starts_with("bgr")     ? BackgroundReference(in, value)
                             : text.starts_with("dewow") ? WindowReference(in, value, false)
                                                         : WindowReference(in, value, true);
    const TTraces actual = Process(text, in);
    ASSERT_EQ(actual.size(), expected.size());
    int wrong = 0;
    for (std::size_t t = 0; t < actual.size(); ++t)
        for (std::size_t j = 0; j < actual[t].size(); ++j) {
            const float e = expected[t][j];
            if (std::fabs(actual[t][j] - e) > 1e-5f * std::max(1.0f, std::fabs(e)) && ++wrong <= 5)
                ADD_FAILURE() << "trace " << t << " sample " << j << ": " << actual[t][j]
                              << " instead of " << e;
        }
    EXPECT_EQ(wrong, 0);
}
INSTANTIATE_TEST_SUITE_P(
    Steps, RunningSumsTest,
    testing::Values(
        // Traces not a whole number of the lanes that go side by side, samples not of four.
        TRunningCase{"DewowNarrow", "dewow=15", 13, 301, false},
        TRunningCase{"DewowWide", "dewow=201", 9, 512, false},
        TRunningCase{"DewowWiderThanTrace", "dewow=1023", 3, 257, false},
        TRunningCase{"AgcNarrow", "agc=3", 11, 130, false},
        TRunningCase{"AgcWide", "agc=51", 17, 512, false},
        // The weak samples after the strong ones.
        TRunningCase{"DewowAfterStrong", "dewow=15", 8, 512, true},
        TRunningCase{"AgcAfterStrong", "agc=51", 8, 512, true},
        // A run along more traces than the running sum goes before it is taken afresh.
        TRunningCase{"BackgroundRunLong", "bgr=5", 9000, 6, false},
        TRunningCase{"BackgroundRunWide", "bgr=301", 5000, 5, false},
        TRunningCase{"BackgroundAll", "bgr=0", 1000, 13, false}),
    [](const testing::TestParamInfo<TRunningCase>& info) { return std::string(info.param.Name); });

// A view processes only the traces it shows, yet each must come out as in the whole profile:
// runs of traces reach beyond the part, means over all traces come from all of them.
TEST(ProfileParts, ComeOutAsInTheWholeProfile) {
    TRadargram model;
    Load(model, RandomTraces(300, 24), 48);
    std::string text = "dewow=5,bgr=7,tpow=1,bgr=0,agc=7,bgr=3";
    if (FindProcessingStep("envelope")) text += ",envelope,bgr=0";
    const TProcessingChain chain = ParseChain(text);
    const TTraces whole = Rows(*ProcessProfile(model, chain));
    TProcessingCache cache;
    for (const auto& [first, end] : {std::pair{0u, 10u}, {5u, 40u}, {290u, 300u}, {100u, 101u}}) {
        const auto part = ProcessTraces(model, chain, first, end, {}, &cache);
        ASSERT_TRUE(part);
        ExpectNear(Rows(*part), TTraces(whole.begin() + first, whole.begin() + end), 1e-3);
    }
}

TEST(ProfileParts, ProgressRisesToTheEndAndCanStop) {
    TRadargram model;
    Load(model, RandomTraces(20000, 8), 8);
    const TProcessingChain chain = ParseChain("dewow=3,bgr=0,agc=3");
    std::vector<double> told;
    ASSERT_TRUE(ProcessProfile(model, chain, [&](double f) {
        told.push_back(f);
        return true;
    }));
    ASSERT_FALSE(told.empty());
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_DOUBLE_EQ(told.back(), 1.0);
    int calls = 0;
    EXPECT_FALSE(ProcessProfile(model, chain, [&](double) { return ++calls < 2; }));
    EXPECT_EQ(calls, 2);
}

TEST(ProfileParts, ModelIsNotChanged) {
    TRadargram model;
    const TTraces traces{{1, 2, 3}, {4, 5, 6}};
    Load(model, traces, 3);
    ProcessProfile(model, ParseChain("zero=1,dewow=3,bgr=0,tpow=2,agc=3"));
    for (std::uint32_t t = 0; t < 2; ++t)
        for (std::uint32_t j = 0; j < 3; ++j) EXPECT_EQ(model.Samples(t)[j], traces[t][j]);
}

// --- defaults ---------------------------------------------------------------------------------

struct TDewowDefaultCase {
    const char* Antenna;  // Windows-1251 bytes
    std::uint32_t RecordTime;
    std::uint32_t Samples;
    double Window;
};

class DewowDefaultTest : public testing::TestWithParam<TDewowDefaultCase> {};

TEST_P(DewowDefaultTest, IsOnePeriodOfTheAntenna) {
    const TDewowDefaultCase& c = GetParam();
    TRadarHeader header{};
    std::strncpy(header.AntennaName, c.Antenna, sizeof header.AntennaName - 1);
    header.RecordTime = c.RecordTime;
    header.SampleCount = c.Samples;
    EXPECT_EQ(DefaultDewowWindow(header), c.Window);
}

INSTANTIATE_TEST_SUITE_P(
    Antennas, DewowDefaultTest,
    testing::Values(
        // 400 MHz: 2.5 ns; 100 ns / 512 samples: 12.8 samples, the odd 13.
        TDewowDefaultCase{"\xC0\xC1-400", 100, 512, 13},
        // A model number below any centre frequency is passed over: 1700 MHz, 3 samples.
        TDewowDefaultCase{"\xCE\xCA\xCE-2 \xC0\xC1-1700", 100, 512, 3},
        TDewowDefaultCase{"1200 MHz", 50, 256, 5},  // 0.83 ns of 0.195 ns: 4.3, the odd 5
        TDewowDefaultCase{"", 100, 512, 15}, TDewowDefaultCase{"antenna", 100, 512, 15},
        TDewowDefaultCase{"\xC0\xC1-400", 0, 512, 15},
        // 10 MHz over a short window: a period longer than the trace is cut to the trace.
        TDewowDefaultCase{"10", 100, 64, 65}));

TEST(Registry, EveryStepHasItsEntry) {
    for (const TStepKind* kind : ProcessingSteps()) {
        EXPECT_EQ(FindProcessingStep(kind->Name), kind);
        EXPECT_FALSE(kind->Title.empty());
        ASSERT_NE(kind->Run, nullptr);
        ASSERT_NE(kind->Default, nullptr);
        if (kind->Value != TValueKind::None) {
            EXPECT_FALSE(kind->ValueCaption.empty()) << kind->Name;
            EXPECT_FALSE(RefusalOf(*kind, kind->Default(TRadarHeader{}))) << kind->Name;
        }
        if (kind->AcrossTraces) {
            EXPECT_NE(kind->Reach, nullptr) << kind->Name;
        }
    }
}

}  // namespace
}  // namespace trelvanox
