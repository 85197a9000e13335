#include "amplitude/amplitude_kernels.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace trelvanox {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kFloatMax = std::numeric_limits<float>::max();
constexpr float kSubnormal = std::numeric_limits<float>::denorm_min();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

std::uint32_t Bits(float x) {
    return std::bit_cast<std::uint32_t>(x);
}

// --- float stand-ins for double thresholds ---

class BoundTest : public ::testing::TestWithParam<double> {};

// The bounds must decide every float, including the neighbours of the threshold rounded to float,
// exactly as the comparison in double does.
TEST_P(BoundTest, DecidesEveryFloatAsTheDoubleComparison) {
    const double threshold = GetParam();
    const float rounded = static_cast<float>(threshold);
    std::vector<float> samples = {0.0f, 1.0f, kSubnormal, kFloatMax, kInf, kNaN, rounded};
    float up = rounded;
    float down = rounded;
    for (int step = 0; step < 2; ++step) {
        up = std::nextafter(up, kInf);
        down = std::nextafter(down, -kInf);
        samples.push_back(up);
        samples.push_back(down);
    }
    const float below = BelowBound(threshold);
    const float above = AboveBound(threshold);
    for (const float x : samples) {
        SCOPED_TRACE(std::to_string(x));
        EXPECT_EQ(static_cast<double>(x) < threshold, x < below);
        EXPECT_EQ(static_cast<double>(x) > threshold, x > above);
    }
}

INSTANTIATE_TEST_SUITE_P(Thresholds, BoundTest,
                         ::testing::Values(0.0, 0.1, 0.7, 100.0, 1e-50, 1e-45, 3.0e38, 3.4028235e38,
                                           3.4028236e38, 1e39,
                                           std::numeric_limits<double>::infinity(),
                                           std::nextafter(1.0, 2.0), std::nextafter(1.0, 0.0),
                                           16777217.0));

// --- gain ---

// The product as the definition has it: in extended precision, rounded to float once.
float ExtendedProduct(long double factor, float a) {
    return static_cast<float>(factor * static_cast<long double>(a));
}

struct TFactorCase {
    std::string Name;
    long double Factor;
    bool FloatProducts;  // whether the fast float multiplication applies
};

void PrintTo(const TFactorCase& c, std::ostream* os) {
    *os << c.Name;
}

class GainFactorTest : public ::testing::TestWithParam<TFactorCase> {};

std::vector<float> VariedSamples() {
    std::vector<float> samples = {0.0f,        -0.0f,  1.0f,      -99.5f,      kSubnormal,
                                  -kSubnormal, 1e-38f, kFloatMax, -kFloatMax,  kInf,
                                  -kInf,       kNaN,   0.1f,      403.259735f, 374.226532f};
    std::mt19937 random(7);
    std::uniform_int_distribution<std::uint32_t> bits;
    for (int i = 0; i < 3000; ++i) {
        const float x = std::bit_cast<float>(bits(random));
        if (!std::isnan(x)) samples.push_back(x);
    }
    std::uniform_real_distribution<float> amplitudes(-32000.0f, 32000.0f);
    for (int i = 0; i < 3000; ++i) samples.push_back(amplitudes(random));
    // Recorded amplitudes are often whole numbers: with short decimal factors their products
    // often lie at or next to a point halfway between two floats.
    for (int i = -5000; i <= 5000; ++i) samples.push_back(static_cast<float>(i));
    for (int i = 0; i < 2000; ++i) samples.push_back(static_cast<float>(i) * 0.25f + 8e6f);
    return samples;
}

TEST_P(GainFactorTest, EveryProductIsTheExtendedProductRoundedOnce) {
    const TFactorCase& c = GetParam();
    // A negative threshold taken as it stands lets every amplitude qualify.
    const TGainKernel kernel(TAmplitudeCondition::Above(-1.0), c.Factor);
    EXPECT_EQ(kernel.UsesFloatProducts(), c.FloatProducts);
    const std::vector<float> before = VariedSamples();
    std::vector<float> after = before;
    kernel.Apply(after);
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (std::isnan(before[i])) {
            EXPECT_EQ(Bits(after[i]), Bits(before[i])) << "NaN never qualifies";
            continue;
        }
        ASSERT_EQ(Bits(after[i]), Bits(ExtendedProduct(c.Factor, before[i])))
            << "sample " << before[i] << " (index " << i << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(Factors, GainFactorTest,
                         ::testing::Values(TFactorCase{"two", 2.0L, true},
                                           TFactorCase{"half", 0.5L, true},
                                           TFactorCase{"minus_one", -1.0L, true},
                                           TFactorCase{"zero", 0.0L, true},
                                           TFactorCase{"minus_two_and_a_half", -2.5L, true},
                                           TFactorCase{"float_subnormal", 0x1p-140L, true},
                                           TFactorCase{"one_point_one", 1.1L, false},
                                           TFactorCase{"one_tenth", 0.1L, false},
                                           TFactorCase{"minus_three_tenths", -0.3L, false},
                                           TFactorCase{"one_point_five_five", 1.55L, false},
                                           TFactorCase{"one_third", 1.0L / 3.0L, false},
                                           TFactorCase{"above_float_precision", 16777217.0L, false},
                                           TFactorCase{"beyond_float_range", 1e40L, false},
                                           TFactorCase{"below_float_range", 1e-50L, false}),
                         [](const auto& info) { return info.param.Name; });

struct TProductCase {
    std::string Name;
    long double Factor;
    float Sample;
    float Expected;
};

void PrintTo(const TProductCase& c, std::ostream* os) {
    *os << c.Name;
}

class GainProductTest : public ::testing::TestWithParam<TProductCase> {};

TEST_P(GainProductTest, StoresTheProductRoundedOnceToFloat) {
    const TProductCase& c = GetParam();
    std::vector<float> samples = {c.Sample};
    TGainKernel(TAmplitudeCondition::Above(0.0), c.Factor).Apply(samples);
    EXPECT_EQ(Bits(samples[0]), Bits(c.Expected)) << samples[0];
}

// 1.1 x 0x1.7639fep+8 lies so close to the midpoint between two floats that its 64-bit
// rounding is the midpoint itself, which then rounds to the even float; a product formed in
// double (or float) rounds up instead. 1.1 x 0x1.1e9ddcp+6 shows a factor rounded to float
// first going wrong.
INSTANTIATE_TEST_SUITE_P(
    Examples, GainProductTest,
    ::testing::Values(TProductCase{"double", 2.0L, -99.5f, -199.0f},
                      TProductCase{"halve", 0.5L, -2000.0f, -1000.0f},
                      TProductCase{"negate", -1.0L, 15.0f, -15.0f},
                      TProductCase{"midpoint_ties_to_even", 1.1L, 0x1.7639fep+8f, 0x1.9ba63p+8f},
                      TProductCase{"factor_not_rounded_to_float", 1.1L, 0x1.1e9ddcp+6f,
                                   0x1.3b473ep+6f},
                      TProductCase{"overflow_gives_infinity", 1e10L, -1e30f, -kInf},
                      TProductCase{"zero_factor_keeps_sign", 0.0L, -3.0f, -0.0f}),
    [](const auto& info) { return info.param.Name; });

struct TConditionCase {
    std::string Name;
    TAmplitudeCondition Condition;
    std::vector<float> Qualifying;
    std::vector<float> Staying;
};

void PrintTo(const TConditionCase& c, std::ostream* os) {
    *os << c.Name;
}

class GainConditionTest : public ::testing::TestWithParam<TConditionCase> {};

TEST_P(GainConditionTest, ComparesAmplitudesStrictly) {
    const TConditionCase& c = GetParam();
    const TGainKernel kernel(c.Condition, 2.0L);
    std::vector<float> samples = c.Qualifying;
    samples.insert(samples.end(), c.Staying.begin(), c.Staying.end());
    kernel.Apply(samples);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const bool qualifies = i < c.Qualifying.size();
        const float before = qualifies ? c.Qualifying[i] : c.Staying[i - c.Qualifying.size()];
        EXPECT_EQ(Bits(samples[i]), Bits(qualifies ? 2.0f * before : before)) << before;
        EXPECT_EQ(c.Condition.Holds(before), qualifies) << before;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, GainConditionTest,
    ::testing::Values(
        TConditionCase{"below",
                       TAmplitudeCondition::Below(100.0),
                       {-99.5f, 0.0f, -0.0f, 99.99f},
                       {100.0f, -100.0f, -150.0f, kInf, kNaN}},
        TConditionCase{"above",
                       TAmplitudeCondition::Above(1000.0),
                       {-2000.0f, 1000.0001f, -kInf},
                       {1000.0f, -1000.0f, 0.0f, kNaN}},
        TConditionCase{"between",
                       TAmplitudeCondition::Between(10.0, 20.0),
                       {15.0f, -15.0f, 10.5f},
                       {10.0f, 20.0f, -20.0f, 0.0f, 25.0f, kNaN}},
        // The float nearest 0.1 is slightly larger than the double 0.1.
        TConditionCase{
            "below_a_tenth", TAmplitudeCondition::Below(0.1), {0.09999999f}, {0.1f, -0.1f}},
        TConditionCase{
            "above_a_tenth", TAmplitudeCondition::Above(0.1), {0.1f, -0.1f}, {0.09999999f}}),
    [](const auto& info) { return info.param.Name; });

TEST(GainKernelTest, WorksOnSpansOfAnyLength) {
    const TGainKernel kernel(TAmplitudeCondition::Below(10.0), 1.1L);
    std::vector<float> samples(1300, 3.0f);
    samples[1299] = 50.0f;
    kernel.Apply(samples);
    EXPECT_EQ(samples[0], ExtendedProduct(1.1L, 3.0f));
    EXPECT_EQ(samples[1298], ExtendedProduct(1.1L, 3.0f));
    EXPECT_EQ(samples[1299], 50.0f);
    kernel.Apply(std::span<float>());
}

// --- clipping and silencing ---

struct TLevelCase {
    std::string Name;
    double Level;
    float Sample;
    float Expected;
};

void PrintTo(const TLevelCase& c, std::ostream* os) {
    *os << c.Name;
}

class ClipTest : public ::testing::TestWithParam<TLevelCase> {};

TEST_P(ClipTest, ReplacesLargerAmplitudesBySignedLevel) {
    const TLevelCase& c = GetParam();
    std::vector<float> samples = {c.Sample};
    TClipKernel(c.Level).Apply(samples);
    EXPECT_EQ(Bits(samples[0]), Bits(c.Expected)) << samples[0];
}

INSTANTIATE_TEST_SUITE_P(
    Levels, ClipTest,
    ::testing::Values(TLevelCase{"positive_clipped", 100.0, 250.0f, 100.0f},
                      TLevelCase{"negative_clipped", 100.0, -250.0f, -100.0f},
                      TLevelCase{"level_itself_stays", 100.0, 100.0f, 100.0f},
                      TLevelCase{"smaller_stays", 100.0, -99.0f, -99.0f},
                      TLevelCase{"zero_level_positive", 0.0, 5.0f, 0.0f},
                      TLevelCase{"zero_level_negative_gives_negative_zero", 0.0, -5.0f, -0.0f},
                      TLevelCase{"zero_level_keeps_negative_zero", 0.0, -0.0f, -0.0f},
                      TLevelCase{"zero_level_keeps_positive_zero", 0.0, 0.0f, 0.0f},
                      TLevelCase{"negative_level_positive_sample", -100.0, 250.0f, -100.0f},
                      TLevelCase{"negative_level_negative_sample", -100.0, -250.0f, 100.0f},
                      TLevelCase{"negative_level_smaller_stays", -100.0, 50.0f, 50.0f},
                      TLevelCase{"negative_zero_level", -0.0, 5.0f, -0.0f},
                      TLevelCase{"infinity_clipped", 100.0, -kInf, -100.0f},
                      // 0.7 rounds down to float, 0.1 up: the stored level is the rounded one.
                      TLevelCase{"level_rounding_down", 0.7, 0.70000005f, 0.7f},
                      TLevelCase{"level_rounding_down_keeps", 0.7, 0.7f, 0.7f},
                      TLevelCase{"level_rounding_up", 0.1, -0.10000001f, -0.1f},
                      TLevelCase{"huge_level", 1e300, -kFloatMax, -kFloatMax}),
    [](const auto& info) { return info.param.Name; });

TEST(ClipTest, LeavesNaNAlone) {
    for (const double level : {100.0, -100.0}) {
        std::vector<float> samples = {kNaN, -kNaN};
        TClipKernel(level).Apply(samples);
        EXPECT_EQ(Bits(samples[0]), Bits(kNaN));
        EXPECT_EQ(Bits(samples[1]), Bits(-kNaN));
    }
}

class SilenceTest : public ::testing::TestWithParam<TLevelCase> {};

TEST_P(SilenceTest, SetsSmallerAmplitudesToPositiveZero) {
    const TLevelCase& c = GetParam();
    std::vector<float> samples = {c.Sample};
    TSilenceKernel(c.Level).Apply(samples);
    EXPECT_EQ(Bits(samples[0]), Bits(c.Expected)) << samples[0];
}

INSTANTIATE_TEST_SUITE_P(
    Levels, SilenceTest,
    ::testing::Values(TLevelCase{"positive_silenced", 50.0, 49.9f, 0.0f},
                      TLevelCase{"negative_silenced_to_positive_zero", 50.0, -49.9f, 0.0f},
                      TLevelCase{"negative_zero_becomes_positive", 50.0, -0.0f, 0.0f},
                      TLevelCase{"level_itself_stays", 50.0, 50.0f, 50.0f},
                      TLevelCase{"negative_level_itself_stays", 50.0, -50.0f, -50.0f},
                      TLevelCase{"negative_level_as_magnitude", -50.0, -49.9f, 0.0f},
                      TLevelCase{"zero_level_changes_nothing", 0.0, -0.0f, -0.0f},
                      TLevelCase{"nan_stays", 50.0, kNaN, kNaN}),
    [](const auto& info) { return info.param.Name; });

// --- extremes ---

struct TExtremesCase {
    std::string Name;
    std::vector<float> Samples;
    float Largest;
    std::size_t LargestAt;
    float Smallest;
    std::size_t SmallestAt;
};

void PrintTo(const TExtremesCase& c, std::ostream* os) {
    *os << c.Name;
}

class AmplitudeExtremesTest : public ::testing::TestWithParam<TExtremesCase> {};

TEST_P(AmplitudeExtremesTest, FindsValueAndFirstPosition) {
    const TExtremesCase& c = GetParam();
    EXPECT_EQ(LargestAmplitude(c.Samples), c.Largest);
    EXPECT_EQ(SmallestNonZeroAmplitude(c.Samples), c.Smallest);
    EXPECT_EQ(FirstWithAmplitude(c.Samples, c.Largest), c.LargestAt);
    EXPECT_EQ(FirstWithAmplitude(c.Samples, c.Smallest), c.SmallestAt);
}

std::vector<float> Long(std::size_t size, std::vector<std::pair<std::size_t, float>> values) {
    std::vector<float> samples(size, 7.0f);
    for (const auto& [at, value] : values) samples[at] = value;
    return samples;
}

INSTANTIATE_TEST_SUITE_P(
    Samples, AmplitudeExtremesTest,
    ::testing::Values(
        TExtremesCase{"ties_to_first", {0.0f, -3.0f, 0.5f, 3.0f}, 3.0f, 1, 0.5f, 2},
        TExtremesCase{"all_zero", {0.0f, -0.0f, 0.0f}, 0.0f, 0, kInf, 3},
        TExtremesCase{"empty", {}, 0.0f, 0, kInf, 0},
        TExtremesCase{"nan_ignored", {kNaN, 2.0f, -kNaN, 1.0f}, 2.0f, 1, 1.0f, 3},
        TExtremesCase{"subnormal_and_infinity", {1.0f, -kSubnormal, kInf}, kInf, 2, kSubnormal, 1},
        TExtremesCase{"only_infinity", {0.0f, -kInf}, kInf, 1, kInf, 1},
        TExtremesCase{"long_trace_lanes",
                      Long(100, {{37, -9.5f}, {70, 9.5f}, {5, 0.0f}, {71, -0.25f}, {90, 0.25f}}),
                      9.5f, 37, 0.25f, 71},
        TExtremesCase{"long_trace_tail", Long(99, {{98, -12.0f}, {97, 0.125f}}), 12.0f, 98, 0.125f,
                      97}),
    [](const auto& info) { return info.param.Name; });

TEST(AmplitudeExtremesTest, AnyMeetsFollowsTheCondition) {
    const std::vector<float> samples = {1.0f, -5.0f, kNaN};
    EXPECT_TRUE(AnyMeets(samples, TAmplitudeCondition::Above(4.0)));
    EXPECT_FALSE(AnyMeets(samples, TAmplitudeCondition::Above(5.0)));
    EXPECT_FALSE(AnyMeets(samples, TAmplitudeCondition::Between(1.0, 5.0)));
    EXPECT_FALSE(AnyMeets({}, TAmplitudeCondition::Below(1e30)));
}

}  // namespace
}  // namespace trelvanox
