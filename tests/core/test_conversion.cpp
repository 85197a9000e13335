#include "common/conversion.h"

#include <cmath>
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

namespace trelvanox {
namespace {

// --- StrToInt ---

struct TIntCase {
    std::string text;
    std::int32_t value;
};

class StrToIntValidTest : public ::testing::TestWithParam<TIntCase> {};

TEST_P(StrToIntValidTest, Parses) {
    EXPECT_EQ(StrToInt(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Conversion, StrToIntValidTest,
                         ::testing::Values(TIntCase{"0", 0}, TIntCase{"7", 7}, TIntCase{"+7", 7},
                                           TIntCase{"-7", -7}, TIntCase{"-0", 0},
                                           TIntCase{"007", 7}, TIntCase{"250000", 250000},
                                           TIntCase{"2147483647", 2147483647},
                                           TIntCase{"+2147483647", 2147483647},
                                           TIntCase{"-2147483648", INT32_MIN},
                                           TIntCase{"-00000000002147483648", INT32_MIN}));

class StrToIntInvalidTest : public ::testing::TestWithParam<std::string> {};

TEST_P(StrToIntInvalidTest, ThrowsNamingTheText) {
    const std::string& text = GetParam();
    try {
        StrToInt(text);
        FAIL() << "no error for '" << text << "'";
    } catch (const TConversionError& error) {
        EXPECT_EQ(std::string(error.what()), "'" + text + "' is not a valid integer value");
    }
}

INSTANTIATE_TEST_SUITE_P(Conversion, StrToIntInvalidTest,
                         ::testing::Values("", " ", " 1", "1 ", "+", "-", "+-1", "--1", "0x1A",
                                           "$1A", "1.0", "1e3", "1,000", "12a", "a12", "2147483648",
                                           "-2147483649", "4294967296", "99999999999999999999",
                                           "\xD9\xA1" /* Arabic-Indic one */, "двенадцать"));

TEST(StrToIntTest, ErrorIsAProgramErrorWithTheExactMessage) {
    try {
        StrToInt("abc");
        FAIL() << "no error";
    } catch (const TProgramError& error) {
        EXPECT_STREQ(error.what(), "'abc' is not a valid integer value");
    }
}

// --- StrToFloat ---

struct TFloatCase {
    std::string text;
    long double value;
};

class StrToFloatValidTest : public ::testing::TestWithParam<TFloatCase> {};

TEST_P(StrToFloatValidTest, ParsesExactly) {
    const long double parsed = StrToFloat(GetParam().text);
    EXPECT_EQ(parsed, GetParam().value);
    EXPECT_EQ(std::signbit(parsed), std::signbit(GetParam().value));
}

INSTANTIATE_TEST_SUITE_P(
    Conversion, StrToFloatValidTest,
    ::testing::Values(
        TFloatCase{"1", 1.0L}, TFloatCase{"-2.5", -2.5L}, TFloatCase{"+2.5", 2.5L},
        TFloatCase{".5", 0.5L}, TFloatCase{"-.5", -0.5L}, TFloatCase{"5.", 5.0L},
        TFloatCase{"00.500", 0.5L}, TFloatCase{"0", 0.0L}, TFloatCase{"-0", -0.0L},
        TFloatCase{"1.5E-7", 1.5e-7L}, TFloatCase{"1.5e-7", 1.5e-7L}, TFloatCase{"2E20", 2e20L},
        TFloatCase{"1e+3", 1000.0L}, TFloatCase{"5.e3", 5000.0L}, TFloatCase{".5E1", 5.0L},
        TFloatCase{"9.3", 9.3L}, TFloatCase{"3.14159265358979323846", 3.14159265358979323846L},
        TFloatCase{"123456789012345678901234567890", 123456789012345678901234567890.0L},
        // Beyond double precision and range but inside the extended type.
        TFloatCase{"1e400", 1e400L}, TFloatCase{"-1e-400", -1e-400L},
        // Underflow reads as zero of the text's sign.
        TFloatCase{"1e-5000", 0.0L}, TFloatCase{"-1e-5000", -0.0L},
        TFloatCase{"0.1e-99999999999999999999", 0.0L}, TFloatCase{"0e99999999999999999999", 0.0L}));

TEST(StrToFloatTest, KeepsExtendedPrecision) {
    EXPECT_EQ(StrToFloat("0.1"), 0.1L);
    EXPECT_NE(StrToFloat("0.1"), static_cast<long double>(0.1));
}

class StrToFloatInvalidTest : public ::testing::TestWithParam<std::string> {};

TEST_P(StrToFloatInvalidTest, ThrowsNamingTheText) {
    const std::string& text = GetParam();
    try {
        StrToFloat(text);
        FAIL() << "no error for '" << text << "'";
    } catch (const TConversionError& error) {
        EXPECT_EQ(std::string(error.what()), "'" + text + "' is not a valid floating point value");
    }
}

INSTANTIATE_TEST_SUITE_P(Syntax, StrToFloatInvalidTest,
                         ::testing::Values("", " ", " 1", "1 ", ".", "-", "+", "-.", "e5", ".e5",
                                           "1e", "1e+", "1e-", "1.5.2", "1,5", "1.5f", "1d5", "--1",
                                           "+-1", "1e5.0", "0x1A", "0x1p3", "inf", "-inf", "INF",
                                           "nan", "NAN", "infinity", "ПК"));

INSTANTIATE_TEST_SUITE_P(Overflow, StrToFloatInvalidTest,
                         ::testing::Values("1e5000", "-1e5000", "1e99999999999999999999",
                                           "0.001e4940"));

}  // namespace
}  // namespace trelvanox
