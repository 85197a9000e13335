#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "model/text_field.h"

namespace trelvanox {
namespace {

std::array<char, kTextFieldSize> FieldOf(char fill) {
    std::array<char, kTextFieldSize> field;
    field.fill(fill);
    return field;
}

TEST(TextFieldTest, ReadsUpToTheFirstNulOrTheWholeField) {
    auto field = FieldOf('A');
    EXPECT_EQ(ReadTextField(field), std::string(40, 'A'));
    field[3] = '\0';
    EXPECT_EQ(ReadTextField(field), "AAA");
    field[0] = '\0';
    EXPECT_EQ(ReadTextField(field), "");
}

TEST(TextFieldTest, StoresWindows1251AndOneNulAndKeepsTheBytesBehindIt) {
    auto field = FieldOf('x');
    WriteTextField(field, "Путь №2");
    const char expected[] =
        "\xCF\xF3\xF2\xFC \xB9"
        "2";
    EXPECT_EQ(std::memcmp(field.data(), expected, 8), 0);  // the NUL included
    EXPECT_EQ(std::string(field.data() + 8, 32), std::string(32, 'x'));
    EXPECT_EQ(ReadTextField(field), "Путь №2");
}

TEST(TextFieldTest, ClearingSetsOnlyTheFirstByte) {
    auto field = FieldOf('x');
    WriteTextField(field, "");
    EXPECT_EQ(field[0], '\0');
    EXPECT_EQ(std::string(field.data() + 1, 39), std::string(39, 'x'));
}

struct TLengthCase {
    std::string Text;
    std::string Stored;
};

class TextFieldLengthTest : public ::testing::TestWithParam<TLengthCase> {};

// At most 39 characters fit before the NUL: longer texts are cut.
TEST_P(TextFieldLengthTest, CutsTo39Characters) {
    auto field = FieldOf('x');
    WriteTextField(field, GetParam().Text);
    EXPECT_EQ(ReadTextField(field), GetParam().Stored);
    EXPECT_EQ(field[GetParam().Text.empty() ? 0 : std::min<size_t>(39, GetParam().Stored.size())],
              '\0');
}

std::string Repeat(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

INSTANTIATE_TEST_SUITE_P(Texts, TextFieldLengthTest,
                         ::testing::Values(TLengthCase{std::string(39, 'a'), std::string(39, 'a')},
                                           TLengthCase{std::string(40, 'a'), std::string(39, 'a')},
                                           TLengthCase{std::string(100, 'a'), std::string(39, 'a')},
                                           // Cyrillic letters are one byte each in the file.
                                           TLengthCase{Repeat("ж", 45), Repeat("ж", 39)},
                                           // What the code page lacks becomes "?".
                                           TLengthCase{"a✓b", "a?b"}));

}  // namespace
}  // namespace trelvanox
