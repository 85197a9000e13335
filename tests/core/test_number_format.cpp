#include "common/number_format.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace trelvanox {
namespace {

struct TIntegerCase {
    std::string (*format)();
    std::string expected;
};

class FormatIntegerTest : public ::testing::TestWithParam<TIntegerCase> {};

TEST_P(FormatIntegerTest, WritesPlainDecimal) {
    EXPECT_EQ(GetParam().format(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    NumberFormat, FormatIntegerTest,
    ::testing::Values(TIntegerCase{[] { return FormatUnsigned(0); }, "0"},
                      TIntegerCase{[] { return FormatUnsigned(1024); }, "1024"},
                      TIntegerCase{[] { return FormatUnsigned(4294967295u); }, "4294967295"},
                      TIntegerCase{[] { return FormatSigned(0); }, "0"},
                      TIntegerCase{[] { return FormatSigned(-5); }, "-5"},
                      TIntegerCase{[] { return FormatSigned(1234567); }, "1234567"},
                      TIntegerCase{[] { return FormatSigned(INT32_MAX); }, "2147483647"},
                      TIntegerCase{[] { return FormatSigned(INT32_MIN); }, "-2147483648"},
                      TIntegerCase{[] { return FormatSigned64(-2); }, "-2"},
                      TIntegerCase{[] { return FormatSigned64(42949672960); }, "42949672960"},
                      TIntegerCase{[] { return FormatSigned64(INT64_MAX); }, "9223372036854775807"},
                      TIntegerCase{[] { return FormatSigned64(INT64_MIN); },
                                   "-9223372036854775808"}));

struct TFloatCase {
    double value;
    std::string expected;
};

class FormatFloatTest : public ::testing::TestWithParam<TFloatCase> {};

TEST_P(FormatFloatTest, WritesGeneralForm) {
    EXPECT_EQ(FormatFloat(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fixed, FormatFloatTest,
    ::testing::Values(TFloatCase{4.0f, "4"}, TFloatCase{6.5f, "6.5"},
                      TFloatCase{9.3f, "9.30000019073486"}, TFloatCase{0.1f, "0.100000001490116"},
                      TFloatCase{0.1, "0.1"}, TFloatCase{-2.5, "-2.5"}, TFloatCase{0.5, "0.5"},
                      TFloatCase{100.0, "100"}, TFloatCase{12345678.9, "12345678.9"},
                      TFloatCase{1.0 / 3.0, "0.333333333333333"},
                      TFloatCase{-2.0 / 3.0, "-0.666666666666667"}, TFloatCase{0.00012, "0.00012"},
                      TFloatCase{0.00001, "0.00001"}, TFloatCase{-0.000012, "-0.000012"},
                      TFloatCase{1e14, "100000000000000"},
                      TFloatCase{999999999999999.0, "999999999999999"}));

INSTANTIATE_TEST_SUITE_P(
    Exponent, FormatFloatTest,
    ::testing::Values(TFloatCase{1.5e-7, "1.5E-7"}, TFloatCase{-1.5e-7, "-1.5E-7"},
                      TFloatCase{2e20, "2E20"}, TFloatCase{1e15, "1E15"},
                      TFloatCase{123456789012345678.0, "1.23456789012346E17"},
                      TFloatCase{9.99999999999999e-6, "9.99999999999999E-6"},
                      TFloatCase{1e100, "1E100"}, TFloatCase{1e-100, "1E-100"},
                      TFloatCase{std::numeric_limits<double>::max(), "1.79769313486232E308"},
                      TFloatCase{std::numeric_limits<double>::denorm_min(),
                                 "4.94065645841247E-324"}));

// The form follows the number as rounded to 15 digits.
INSTANTIATE_TEST_SUITE_P(RoundingDecidesForm, FormatFloatTest,
                         ::testing::Values(TFloatCase{999999999999999.9, "1E15"},
                                           TFloatCase{std::nextafter(0.00001, 0.0), "0.00001"},
                                           TFloatCase{std::nextafter(1.0, 0.0), "1"},
                                           TFloatCase{std::nextafter(10.0, 0.0), "10"}));

INSTANTIATE_TEST_SUITE_P(
    Special, FormatFloatTest,
    ::testing::Values(TFloatCase{0.0, "0"}, TFloatCase{-0.0, "0"},
                      TFloatCase{std::numeric_limits<double>::quiet_NaN(), "NAN"},
                      TFloatCase{-std::numeric_limits<double>::quiet_NaN(), "NAN"},
                      TFloatCase{std::numeric_limits<double>::infinity(), "INF"},
                      TFloatCase{-std::numeric_limits<double>::infinity(), "-INF"}));

}  // namespace
}  // namespace trelvanox
