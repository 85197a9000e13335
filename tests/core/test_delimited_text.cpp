#include "exchange/delimited_text.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/cp1251.h"

namespace trelvanox {
namespace {

using TLines = std::vector<std::string>;

struct TDelimiterCase {
    std::int32_t Index;
    char Delimiter;
};

class DelimiterForTest : public ::testing::TestWithParam<TDelimiterCase> {};

TEST_P(DelimiterForTest, MapsTheSettingToItsCharacter) {
    EXPECT_EQ(DelimiterFor(GetParam().Index), GetParam().Delimiter);
}

INSTANTIATE_TEST_SUITE_P(Settings, DelimiterForTest,
                         ::testing::Values(TDelimiterCase{0, '\t'}, TDelimiterCase{1, ';'},
                                           TDelimiterCase{2, ','}, TDelimiterCase{3, ' '},
                                           TDelimiterCase{4, '\t'}, TDelimiterCase{-1, '\t'}));

struct TSplitCase {
    const char* Name;
    std::string Line;  // UTF-8 here; the test passes it as Windows-1251
    char Delimiter;
    TLines Fields;
};

void PrintTo(const TSplitCase& c, std::ostream* os) {
    *os << c.Name;
}

class SplitDelimitedLineTest : public ::testing::TestWithParam<TSplitCase> {};

TEST_P(SplitDelimitedLineTest, AppendsTheTrimmedFields) {
    std::vector<std::string> fields = {"kept"};
    SplitDelimitedLine(EncodeCp1251(GetParam().Line), GetParam().Delimiter, fields);
    TLines expected = {"kept"};
    for (const std::string& field : GetParam().Fields) expected.push_back(EncodeCp1251(field));
    EXPECT_EQ(fields, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitDelimitedLineTest,
    ::testing::Values(
        TSplitCase{
            "SemicolonsWithSpacedText", "1; Метка 1 ;12,5;3", ';', {"1", "Метка 1", "12,5", "3"}},
        TSplitCase{"EmptyFieldAndFinalDelimiter", "1;;12.5;", ';', {"1", "", "12.5"}},
        TSplitCase{"TwoSpacesWithSpaceDelimiter", "1  2", ' ', {"1", "", "2"}},
        TSplitCase{"LeadingDelimiter", ";a", ';', {"", "a"}},
        TSplitCase{"QuotesAreOrdinary", "\"a;b\";\"\"", ';', {"\"a", "b\"", "\"\""}},
        TSplitCase{"TabsTrimmedAroundFields", " a \t\tb\t ", '\t', {"a", "", "b", ""}},
        TSplitCase{"ControlCharactersTrimmed", "\x01 x\x1F,\ny\r", ',', {"x", "y"}},
        TSplitCase{"NoBreakSpaceNotTrimmed", "\u00A0x\u00A0", ';', {"\u00A0x\u00A0"}},
        TSplitCase{"SpacesAloneGiveOneEmptyField", "   ", ';', {""}},
        TSplitCase{"SpacesAloneWithSpaceDelimiter", "   ", ' ', {"", "", ""}},
        TSplitCase{"EmptyLineGivesNoField", "", '\t', {}},
        TSplitCase{"LoneDelimiterGivesOneEmptyField", ",", ',', {""}},
        TSplitCase{"NoDelimiter", "Опора №3", '\t', {"Опора №3"}}),
    [](const auto& info) { return info.param.Name; });

// UTF-16 bytes of a text, after the byte-order mark of that order.
std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

struct TDecodeCase {
    const char* Name;
    std::string Bytes;
    TLines Lines;
};

void PrintTo(const TDecodeCase& c, std::ostream* os) {
    *os << c.Name;
}

class DecodeTextLinesTest : public ::testing::TestWithParam<TDecodeCase> {};

TEST_P(DecodeTextLinesTest, GivesTheLinesAsUtf8) {
    EXPECT_EQ(DecodeTextLines(GetParam().Bytes), GetParam().Lines);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DecodeTextLinesTest,
    ::testing::Values(
        TDecodeCase{"Empty", "", {}}, TDecodeCase{"OneLineWithoutBreak", "a", {"a"}},
        TDecodeCase{"FinalBreakStartsNoLine", "a\r\nb\r\n", {"a", "b"}},
        TDecodeCase{"LoneCrAndLoneLf", "a\rb\nc", {"a", "b", "c"}},
        TDecodeCase{"EmptyLineBetween", "a\r\n\r\nb", {"a", "", "b"}},
        TDecodeCase{"LfThenCrAreTwoBreaks", "a\n\rb", {"a", "", "b"}},
        TDecodeCase{"CrThenCrLf", "a\r\r\n", {"a", ""}}, TDecodeCase{"OnlyABreak", "\r\n", {""}},
        TDecodeCase{
            "Windows1251ByDefault", "\xCC\xE5\xF2\xEA\xE0\t\xB9\r\n\x98", {"Метка\t№", "\u0098"}},
        // Valid UTF-8 with letters beyond ASCII is UTF-8, as editors save text today.
        TDecodeCase{"Utf8BytesWithoutMark",
                    "\xD0\x9C\xD0\xB5\xD1\x82\xD0\xBA\xD0\xB0\r\nA",
                    {"Метка", "A"}},
        // One byte that does not continue a sequence makes the whole file Windows-1251.
        TDecodeCase{"Utf8LookalikeIsWindows1251", "\xD0\x9C\xC0", {"РњА"}},
        TDecodeCase{"Utf8Mark", "\xEF\xBB\xBFМетка\r\n✓ 😀", {"Метка", "✓ 😀"}},
        TDecodeCase{"Utf8MarkOnly", "\xEF\xBB\xBF", {}},
        TDecodeCase{"Utf8MalformedBytes",
                    "\xEF\xBB\xBF"
                    "a\xFF\xC0\x80z\xE2\x9C",
                    {"a\uFFFD\uFFFD\uFFFDz\uFFFD\uFFFD"}},
        TDecodeCase{"Utf16LittleEndian", Utf16(u"Метка;1\r\n2\r3\n", false), {"Метка;1", "2", "3"}},
        TDecodeCase{"Utf16BigEndian", Utf16(u"Мост\r\n№ 5", true), {"Мост", "№ 5"}},
        TDecodeCase{"Utf16SurrogatePair", Utf16(u"a😀b", false), {"a😀b"}},
        TDecodeCase{"Utf16LoneSurrogate",
                    Utf16(u"a\xD800"
                          u"b\xDC00",
                          false),
                    {"a\uFFFDb\uFFFD"}},
        TDecodeCase{"Utf16OddLastByte", Utf16(u"ab", true) + std::string(1, '\0'), {"ab\uFFFD"}},
        TDecodeCase{"Utf16MarkOnly", Utf16(u"", false), {}}),
    [](const auto& info) { return info.param.Name; });

}  // namespace
}  // namespace trelvanox
