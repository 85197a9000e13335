#include "common/cp1251.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

namespace trelvanox {
namespace {

using namespace std::string_literals;

std::string AllBytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
    return bytes;
}

TEST(Cp1251Test, EveryByteDecodesToItsOwnCharacterAndEncodesBack) {
    std::set<std::string> decoded;
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = DecodeCp1251(byte);
        EXPECT_EQ(EncodeCp1251(utf8), byte) << "byte " << b;
        decoded.insert(utf8);
    }
    EXPECT_EQ(decoded.size(), 256u) << "two bytes decode to the same character";

    const std::string all = AllBytes();
    EXPECT_EQ(EncodeCp1251(DecodeCp1251(all)), all);
}

TEST(Cp1251Test, CyrillicAlphabetBothWays) {
    const std::string utf8 =
        "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"
        "абвгдеёжзийклмнопрстуфхцчшщъыьэюя№";
    std::string bytes;
    for (int b = 0xC0; b <= 0xC5; ++b) bytes.push_back(static_cast<char>(b));
    bytes.push_back('\xA8');  // Ё
    for (int b = 0xC6; b <= 0xDF; ++b) bytes.push_back(static_cast<char>(b));
    for (int b = 0xE0; b <= 0xE5; ++b) bytes.push_back(static_cast<char>(b));
    bytes.push_back('\xB8');  // ё
    for (int b = 0xE6; b <= 0xFF; ++b) bytes.push_back(static_cast<char>(b));
    bytes.push_back('\xB9');  // №

    EXPECT_EQ(DecodeCp1251(bytes), utf8);
    EXPECT_EQ(EncodeCp1251(utf8), bytes);
}

struct TCharCase {
    std::string bytes;
    std::string utf8;
};

class Cp1251CharTest : public ::testing::TestWithParam<TCharCase> {};

TEST_P(Cp1251CharTest, DecodesAndEncodes) {
    EXPECT_EQ(DecodeCp1251(GetParam().bytes), GetParam().utf8);
    EXPECT_EQ(EncodeCp1251(GetParam().utf8), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, Cp1251CharTest,
    ::testing::Values(TCharCase{"", ""}, TCharCase{"Radar 1.5\t;\r\n", "Radar 1.5\t;\r\n"},
                      TCharCase{"a\0b"s, "a\0b"s}, TCharCase{"\x7F", "\x7F"},
                      TCharCase{"\x80", "Ђ"}, TCharCase{"\x82", "‚"}, TCharCase{"\x88", "€"},
                      TCharCase{"\x96", "–"}, TCharCase{"\x97", "—"},
                      TCharCase{"\x98", "\xC2\x98"},  // undefined byte, kept as U+0098
                      TCharCase{"\x99", "™"}, TCharCase{"\x9F", "џ"},
                      TCharCase{"\xA0", "\xC2\xA0"},  // no-break space
                      TCharCase{"\xA5", "Ґ"}, TCharCase{"\xAB\xBB", "«»"},
                      TCharCase{"\xAD", "\xC2\xAD"},  // soft hyphen
                      TCharCase{"\xB0", "°"}, TCharCase{"\xB2\xB3", "Іі"}, TCharCase{"\xB4", "ґ"},
                      TCharCase{"\xBF", "ї"}, TCharCase{"\xCF\xCA", "ПК"}, TCharCase{"\xFF", "я"}));

struct TEncodeCase {
    const char* name;
    std::string utf8;
    std::string bytes;
};

class Cp1251EncodeTest : public ::testing::TestWithParam<TEncodeCase> {};

TEST_P(Cp1251EncodeTest, ReplacesWhatCannotBeEncoded) {
    EXPECT_EQ(EncodeCp1251(GetParam().utf8), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Unrepresentable, Cp1251EncodeTest,
                         ::testing::Values(TEncodeCase{"CheckMark", "✓", "?"},
                                           TEncodeCase{"TwoCjk", "日本", "??"},
                                           TEncodeCase{"Emoji", "a😀b", "a?b"},
                                           TEncodeCase{"LatinAccent", "é", "?"},
                                           TEncodeCase{"C1Control", "\xC2\x80", "?"},
                                           TEncodeCase{"MixedWithCyrillic", "Ж✓ж", "\xC6?\xE6"}),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(MalformedUtf8, Cp1251EncodeTest,
                         ::testing::Values(TEncodeCase{"StrayContinuation", "a\x80z", "a?z"},
                                           TEncodeCase{"InvalidByte", "\xFF\xFE", "??"},
                                           TEncodeCase{"TruncatedAtEnd", "Я\xD0", "\xDF?"},
                                           TEncodeCase{"TruncatedThreeByte",
                                                       "\xE6\x97"
                                                       "x",
                                                       "??x"},
                                           TEncodeCase{"LeadWithoutContinuation",
                                                       "\xD0"
                                                       "A",
                                                       "?A"},
                                           TEncodeCase{"Overlong", "\xC0\xAF", "??"},
                                           TEncodeCase{"OverlongThreeByte", "\xE0\x80\xAF", "???"},
                                           TEncodeCase{"Surrogate", "\xED\xA0\x80", "???"},
                                           TEncodeCase{"BeyondUnicode", "\xF4\x90\x80\x80", "????"},
                                           TEncodeCase{"ValidAfterInvalid", "\xFF€", "?\x88"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace trelvanox
