#include "header/header_edit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

#include "common/conversion.h"
#include "model/text_field.h"

namespace trelvanox {
namespace {

// A header as a file might hold it: every byte set, the text fields short texts with the
// recording's leftovers behind their NUL, which no edit may lose.
TRadarHeader SampleHeader() {
    TRadarHeader header;
    auto* bytes = reinterpret_cast<std::uint8_t*>(&header);
    for (std::size_t i = 0; i < sizeof header; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
    header.StartCoordinate = 777777;
    header.Permittivity = 9.3f;
    WriteTextField(header.AntennaName, "АБ-1");
    WriteTextField(header.OperatorName, "Петров");
    WriteTextField(header.ObjectName, "Перегон 5");
    WriteTextField(header.Description1, "первый путь (ось)");
    WriteTextField(header.Description2, "балласт");
    WriteTextField(header.Description3, "непрерывный");
    return header;
}

THeaderEditTexts SampleTexts() {
    return {"Иванов И.И.", "Станция Н", "второй путь (влево)", "УДЗП", "ДП32 (22 / 32)",
            "12.5",        "6.5"};
}

TSettings AllOff() {
    TSettings s;
    s.ChangeOperator = s.ChangeObject = s.ChangeCommentary1 = s.ChangeCommentary2 =
        s.ChangeCommentary3 = s.ChangePK = s.ChangeEpsilon = false;
    return s;
}

std::string Repeat(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) result += text;
    return result;
}

std::string Field(const char (&field)[kTextFieldSize]) {
    return ReadTextField(field);
}

::testing::AssertionResult SameBytes(const TRadarHeader& a, const TRadarHeader& b) {
    for (std::size_t i = 0; i < sizeof a; ++i) {
        const auto x = reinterpret_cast<const std::uint8_t*>(&a)[i];
        const auto y = reinterpret_cast<const std::uint8_t*>(&b)[i];
        if (x != y)
            return ::testing::AssertionFailure()
                   << "headers differ at byte " << i << ": " << int{x} << " != " << int{y};
    }
    return ::testing::AssertionSuccess();
}

class HeaderEditFixture {
  protected:
    HeaderEditFixture() {
        TRadargramContents contents;
        contents.Header = SampleHeader();
        model_.Replace(std::move(contents), "profile.GPR2");
    }
    TRadargram model_;
};

// Each flag alone changes its own field and no byte besides.
struct TFlagCase {
    const char* Name;
    bool TSettings::*Flag;
    std::function<void(TRadarHeader&)> Change;
};

void PrintTo(const TFlagCase& c, std::ostream* os) {
    *os << c.Name;
}

class HeaderEditFlagTest : public HeaderEditFixture, public ::testing::TestWithParam<TFlagCase> {};

TEST_P(HeaderEditFlagTest, ChangesOnlyTheFieldItsFlagAllows) {
    TSettings settings = AllOff();
    settings.*GetParam().Flag = true;
    TRadarHeader expected = SampleHeader();
    GetParam().Change(expected);

    EditHeader(model_, SampleTexts(), settings);

    EXPECT_TRUE(SameBytes(model_.Header(), expected));
}

INSTANTIATE_TEST_SUITE_P(
    Flags, HeaderEditFlagTest,
    ::testing::Values(
        TFlagCase{"Operator", &TSettings::ChangeOperator,
                  [](TRadarHeader& h) { WriteTextField(h.OperatorName, "Иванов И.И."); }},
        TFlagCase{"Object", &TSettings::ChangeObject,
                  [](TRadarHeader& h) { WriteTextField(h.ObjectName, "Станция Н"); }},
        TFlagCase{"Commentary1", &TSettings::ChangeCommentary1,
                  [](TRadarHeader& h) { WriteTextField(h.Description1, "второй путь (влево)"); }},
        TFlagCase{"Commentary2", &TSettings::ChangeCommentary2,
                  [](TRadarHeader& h) { WriteTextField(h.Description2, "УДЗП"); }},
        TFlagCase{"Commentary3", &TSettings::ChangeCommentary3,
                  [](TRadarHeader& h) { WriteTextField(h.Description3, "ДП32 (22 / 32)"); }},
        TFlagCase{"PK", &TSettings::ChangePK, [](TRadarHeader& h) { h.StartCoordinate = 1250000; }},
        TFlagCase{"Epsilon", &TSettings::ChangeEpsilon,
                  [](TRadarHeader& h) { h.Permittivity = 6.5f; }}),
    [](const auto& info) { return info.param.Name; });

class HeaderEditTest : public HeaderEditFixture, public ::testing::Test {};

TEST_F(HeaderEditTest, AllFlagsOffChangesNothingEvenWithBadNumbers) {
    THeaderEditTexts texts = SampleTexts();
    texts.StartPicket = "abc";
    texts.Permittivity = "";

    EditHeader(model_, texts, AllOff());

    EXPECT_TRUE(SameBytes(model_.Header(), SampleHeader()));
}

TEST_F(HeaderEditTest, TextsKeepTheBytesBehindTheirNulAndAreCutTo39Characters) {
    TSettings settings;  // the default scope: texts and picket on, permittivity off
    THeaderEditTexts texts = SampleTexts();
    texts.Operator = "Ж";
    texts.Object = Repeat("Ы", 45);

    EditHeader(model_, texts, settings);

    const TRadarHeader before = SampleHeader();
    const TRadarHeader& after = model_.Header();
    EXPECT_EQ(Field(after.OperatorName), "Ж");
    EXPECT_EQ(after.OperatorName[1], '\0');
    EXPECT_EQ(0, std::memcmp(after.OperatorName + 2, before.OperatorName + 2, 38));
    EXPECT_EQ(Field(after.ObjectName), Repeat("Ы", 39));
    EXPECT_EQ(after.ObjectName[39], '\0');
    EXPECT_EQ(Field(after.Description3), "ДП32 (22 / 32)");
    EXPECT_EQ(after.StartCoordinate, 1250000);
    EXPECT_EQ(after.Permittivity, 9.3f);
    EXPECT_EQ(Field(after.AntennaName), "АБ-1");
}

// StartCoordinate from picket and metres per picket: extended precision, cut toward zero.
struct TPicketCase {
    const char* Name;
    std::string Picket, Base;
    std::int64_t Expected;
    bool NeedsExtended = false;  // the result depends on the 64-bit significand
};

void PrintTo(const TPicketCase& c, std::ostream* os) {
    *os << c.Name;
}

class StartPicketTest : public HeaderEditFixture, public ::testing::TestWithParam<TPicketCase> {};

TEST_P(StartPicketTest, StoresMillimetresCutTowardZero) {
    if (GetParam().NeedsExtended && std::numeric_limits<long double>::digits != 64)
        GTEST_SKIP() << "long double has no 64-bit significand here";
    TSettings settings = AllOff();
    settings.ChangePK = true;
    settings.BasePKm = GetParam().Base;
    THeaderEditTexts texts;
    texts.StartPicket = GetParam().Picket;

    EditHeader(model_, texts, settings);

    EXPECT_EQ(model_.Header().StartCoordinate, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pickets, StartPicketTest,
    ::testing::Values(TPicketCase{"Half", "12.5", "100", 1250000},
                      TPicketCase{"Negative", "-1.5", "100", -150000},
                      TPicketCase{"Whole", "3", "100", 300000},
                      TPicketCase{"LongPickets", "3", "1000", 3000000},
                      TPicketCase{"Zero", "0", "100", 0},
                      TPicketCase{"FractionOfAMillimetreIsCut", "1.23456789", "100", 123456},
                      TPicketCase{"NegativeIsCutTowardZero", "-0.0000099", "100", 0},
                      TPicketCase{"SignedAndExponent", "+1.5E1", "100", 1500000},
                      // 0.53 x 100 x 1000 lands a hair under 53000 in extended precision.
                      TPicketCase{"HairUnderLosesTheMillimetre", "0.53", "100", 52999, true},
                      // In double precision this would come out as 434999.
                      TPicketCase{"ExtendedProduct", "4.35", "100", 435000, true},
                      TPicketCase{"LargestMagnitudes", "-9e12", "1000", -9000000000000000000}),
    [](const auto& info) { return info.param.Name; });

TEST_F(HeaderEditTest, PermittivityIsRoundedToSinglePrecision) {
    TSettings settings = AllOff();
    settings.ChangeEpsilon = true;
    THeaderEditTexts texts;
    texts.Permittivity = "9.30000000001";

    EditHeader(model_, texts, settings);

    EXPECT_EQ(model_.Header().Permittivity, 9.3f);
}

// A number that does not convert, or does not fit its field, leaves the whole header as it was.
struct TRefusalCase {
    const char* Name;
    std::string Picket, Base, Permittivity;
    bool ChangeEpsilon;
    std::string Message;
};

void PrintTo(const TRefusalCase& c, std::ostream* os) {
    *os << c.Name;
}

class HeaderEditRefusalTest : public HeaderEditFixture,
                              public ::testing::TestWithParam<TRefusalCase> {};

TEST_P(HeaderEditRefusalTest, ThrowsAndChangesNothing) {
    TSettings settings;  // texts on, so a partial edit would show
    settings.ChangeEpsilon = GetParam().ChangeEpsilon;
    settings.BasePKm = GetParam().Base;
    THeaderEditTexts texts = SampleTexts();
    texts.StartPicket = GetParam().Picket;
    texts.Permittivity = GetParam().Permittivity;

    try {
        EditHeader(model_, texts, settings);
        ADD_FAILURE() << "no error";
    } catch (const TConversionError& e) {
        EXPECT_EQ(std::string(e.what()), GetParam().Message);
    }
    EXPECT_TRUE(SameBytes(model_.Header(), SampleHeader()));
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, HeaderEditRefusalTest,
    ::testing::Values(TRefusalCase{"PicketNotANumber", "abc", "100", "6.5", true,
                                   "'abc' is not a valid floating point value"},
                      TRefusalCase{"PicketEmpty", "", "100", "6.5", false,
                                   "'' is not a valid floating point value"},
                      TRefusalCase{"PicketBeforeBase", "1,5", "x", "6.5", false,
                                   "'1,5' is not a valid floating point value"},
                      TRefusalCase{"BaseNotANumber", "12.5", "сто", "6.5", false,
                                   "'сто' is not a valid floating point value"},
                      TRefusalCase{"PermittivityLast", "12.5", "100", "6,5", true,
                                   "'6,5' is not a valid floating point value"},
                      TRefusalCase{"PicketBeforePermittivity", "?", "100", "x", true,
                                   "'?' is not a valid floating point value"},
                      TRefusalCase{"ProductBeyond64Bits", "1e17", "100", "6.5", false,
                                   "'1e17' is not a valid floating point value"},
                      TRefusalCase{"ProductBelow64Bits", "-9.3e16", "100", "6.5", false,
                                   "'-9.3e16' is not a valid floating point value"},
                      TRefusalCase{"ProductInfinite", "1e4000", "1e4000", "6.5", false,
                                   "'1e4000' is not a valid floating point value"},
                      TRefusalCase{"PermittivityBeyondSingle", "12.5", "100", "3.5e38", true,
                                   "'3.5e38' is not a valid floating point value"},
                      TRefusalCase{"PermittivityBelowSingle", "12.5", "100", "-1e39", true,
                                   "'-1e39' is not a valid floating point value"}),
    [](const auto& info) { return info.param.Name; });

TEST_F(HeaderEditTest, ClearEmptiesTheFiveTextsAndTheStartCoordinateOnly) {
    TRadarHeader expected = SampleHeader();
    for (char* field : {expected.OperatorName, expected.ObjectName, expected.Description1,
                        expected.Description2, expected.Description3})
        field[0] = '\0';
    expected.StartCoordinate = 0;

    ClearHeader(model_);

    EXPECT_TRUE(SameBytes(model_.Header(), expected));
    EXPECT_EQ(Field(model_.Header().AntennaName), "АБ-1");
    EXPECT_EQ(model_.Header().Permittivity, 9.3f);
    EXPECT_EQ(Field(model_.Header().OperatorName), "");
}

TEST(HeaderEditWithoutFileTest, NeitherFunctionTouchesAModelWithoutHeader) {
    TRadargram model;
    TSettings settings;
    settings.ChangeEpsilon = true;

    EditHeader(model, SampleTexts(), settings);
    ClearHeader(model);

    EXPECT_FALSE(model.HasHeader());
    EXPECT_TRUE(SameBytes(model.Header(), TRadarHeader{}));
}

}  // namespace
}  // namespace trelvanox
