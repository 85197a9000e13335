#include "header/header_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace trelvanox {
namespace {

constexpr int kValue = static_cast<int>(THeaderTableColumn::Value);

TRadarHeader ZeroHeader() {
    return TRadarHeader{};
}

// Raw Windows-1251 bytes into a field, as the file holds them.
void PutBytes(char (&field)[kTextFieldSize], std::string_view bytes) {
    std::memcpy(field, bytes.data(), bytes.size());
    if (bytes.size() < kTextFieldSize) field[bytes.size()] = '\0';
}

TStringGrid HeaderGrid() {
    return TStringGrid(static_cast<int>(THeaderTableColumn::Count), kHeaderTableRows);
}

TEST(HeaderTableCaptions, WritesTitlesAndCaptionColumnsOnly) {
    TStringGrid grid = HeaderGrid();
    for (int row = 1; row < kHeaderTableRows; ++row) grid.SetCell(kValue, row, "typed");
    SetHeaderTableCaptions(grid);

    const std::vector<std::vector<std::string>> expected{
        {"Параметр", "ед. изм", "Значение"},
        {"Оператор", "Ф.И.О"},
        {"Антенный блок", "-"},
        {"Режим сканирования", "-"},
        {"Начальное время приема", "нс"},
        {"Коэффициент накопления данных", "-"},
        {"Количество трасс в файле профиля", "шт."},
        {"Время записи", "нс"},
        {"Количество отсчётов в трассе", "-"},
        {"Координата начала профиля", "ПК"},
        {"Шаг перемещения по X", "см"},
        {"Диэлектрическая проницаемость", "-"},
        {"Количество подписанных меток", "шт."},
        {"Объект", "№_Название"},
        {"Описание №1", "-"},
        {"Описание №2 (балласт/ДУЗП)", "-"},
        {"Описание №3 (позиционирующее устройство)", "-"},
    };
    for (int row = 0; row < kHeaderTableRows; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(grid.Cell(0, row), expected[row][0]);
        EXPECT_EQ(grid.Cell(1, row), expected[row][1]);
        if (row > 0) {
            EXPECT_EQ(grid.Cell(kValue, row), "typed");
        }
    }
    EXPECT_EQ(grid.Cell(kValue, 0), "Значение");
}

// Distinct values in every field, so that a field shown in the wrong row is caught.
TEST(FillHeaderTable, ShowsEveryFieldInItsRow) {
    TRadarHeader header = ZeroHeader();
    PutBytes(header.OperatorName, "\xC8\xE2\xE0\xED\xEE\xE2 \xC8.\xC8.");  // Иванов И.И.
    PutBytes(header.AntennaName, "AB-1700");
    header.ScanMode = 3;
    header.StartTime = -20;
    header.Stacking = 4;
    header.TraceCount = 10000;
    header.RecordTime = 0xFFFFFFFF;
    header.SampleCount = 512;
    header.StartCoordinate = 250000;
    header.StepX = 55;
    header.Permittivity = 6.5f;
    header.LabelCount = 7;
    PutBytes(header.ObjectName, "12_\xCF\xE5\xF0\xE5\xE3\xEE\xED");  // 12_Перегон
    PutBytes(header.Description1, "\xD9\xE5\xE1\xE5\xED\xFC");       // Щебень
    PutBytes(header.Description2, "\xC4\xD3\xC7\xCF");               // ДУЗП
    PutBytes(header.Description3, "GPS");

    TStringGrid grid = HeaderGrid();
    const std::string length = FillHeaderTable(grid, header);

    const std::vector<std::string> expected{
        "Иванов И.И.", "AB-1700", "3",   "-20", "4",          "10000",  "4294967295", "512",
        "2",           "5",       "6.5", "7",   "12_Перегон", "Щебень", "ДУЗП",       "GPS",
    };
    for (int row = 1; row < kHeaderTableRows; ++row)
        EXPECT_EQ(grid.Cell(kValue, row), expected[row - 1]) << "row " << row;
    EXPECT_EQ(grid.Cell(0, 1), "Оператор");
    EXPECT_EQ(length, "550");
}

struct TValueCase {
    const char* Name;
    void (*Set)(TRadarHeader&);
    int Row;
    const char* Expected;
};

class HeaderValue : public testing::TestWithParam<TValueCase> {};

TEST_P(HeaderValue, IsFormattedAndTruncatedTowardZero) {
    TRadarHeader header = ZeroHeader();
    GetParam().Set(header);
    TStringGrid grid = HeaderGrid();
    FillHeaderTable(grid, header);
    EXPECT_EQ(grid.Cell(kValue, GetParam().Row), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeaderValue,
    testing::Values(
        TValueCase{"Start250000", [](TRadarHeader& h) { h.StartCoordinate = 250000; }, 9, "2"},
        TValueCase{"StartMinus250000", [](TRadarHeader& h) { h.StartCoordinate = -250000; }, 9,
                   "-2"},
        TValueCase{"Start12345678", [](TRadarHeader& h) { h.StartCoordinate = 12345678; }, 9,
                   "123"},
        TValueCase{"Start99999", [](TRadarHeader& h) { h.StartCoordinate = 99999; }, 9, "0"},
        TValueCase{"StartBeyond32Bits",
                   [](TRadarHeader& h) { h.StartCoordinate = -1'000'000'000'000'000; }, 9,
                   "-10000000000"},
        TValueCase{"Step55", [](TRadarHeader& h) { h.StepX = 55; }, 10, "5"},
        TValueCase{"StepMinus55", [](TRadarHeader& h) { h.StepX = -55; }, 10, "-5"},
        TValueCase{"Step9", [](TRadarHeader& h) { h.StepX = 9; }, 10, "0"},
        TValueCase{"StepMinus15", [](TRadarHeader& h) { h.StepX = -15; }, 10, "-1"},
        TValueCase{"StartTimeNegative", [](TRadarHeader& h) { h.StartTime = -20; }, 4, "-20"},
        TValueCase{"RecordTimeMax", [](TRadarHeader& h) { h.RecordTime = 0xFFFFFFFF; }, 7,
                   "4294967295"},
        TValueCase{"ScanModeMax", [](TRadarHeader& h) { h.ScanMode = 0xFFFFFFFF; }, 3,
                   "4294967295"},
        TValueCase{"PermittivityWhole", [](TRadarHeader& h) { h.Permittivity = 4.0f; }, 11, "4"},
        TValueCase{"PermittivityWidened", [](TRadarHeader& h) { h.Permittivity = 9.3f; }, 11,
                   "9.30000019073486"}),
    [](const testing::TestParamInfo<TValueCase>& info) { return std::string(info.param.Name); });

TEST(FillHeaderTable, EmptyTextFieldsShowEmptyValues) {
    TRadarHeader header = ZeroHeader();
    // Cleared fields keep stale bytes behind the leading NUL.
    for (char* field : {header.OperatorName, header.AntennaName, header.ObjectName,
                        header.Description1, header.Description2, header.Description3}) {
        std::memset(field, 'x', kTextFieldSize);
        field[0] = '\0';
    }
    TStringGrid grid = HeaderGrid();
    for (int row = 1; row < kHeaderTableRows; ++row) grid.SetCell(kValue, row, "old");
    FillHeaderTable(grid, header);
    for (int row : {1, 2, 13, 14, 15, 16}) EXPECT_EQ(grid.Cell(kValue, row), "") << "row " << row;
}

TEST(FillHeaderTable, FieldWithoutNulShowsAllFortyCharacters) {
    TRadarHeader header = ZeroHeader();
    std::memset(header.ObjectName, '\xC0', kTextFieldSize);  // 40 x "А", no NUL
    PutBytes(header.Description1, "next");
    TStringGrid grid = HeaderGrid();
    FillHeaderTable(grid, header);

    std::string expected;
    for (std::size_t i = 0; i < kTextFieldSize; ++i) expected += "А";
    EXPECT_EQ(grid.Cell(kValue, 13), expected);
    EXPECT_EQ(grid.Cell(kValue, 14), "next");
}

struct TLengthCase {
    std::uint32_t TraceCount;
    std::int32_t StepX;
    const char* Expected;
};

class ProfileLength : public testing::TestWithParam<TLengthCase> {};

TEST_P(ProfileLength, IsLow32BitsOfProductInWholeMetres) {
    TRadarHeader header = ZeroHeader();
    header.TraceCount = GetParam().TraceCount;
    header.StepX = GetParam().StepX;
    EXPECT_EQ(ProfileLengthText(header), GetParam().Expected);
    TStringGrid grid = HeaderGrid();
    EXPECT_EQ(FillHeaderTable(grid, header), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileLength,
                         testing::Values(TLengthCase{10000, 50, "500"}, TLengthCase{999, 1, "0"},
                                         TLengthCase{3, -1000, "4294964"}, TLengthCase{0, 50, "0"},
                                         // 200000 x 30000 wraps past 2^32.
                                         TLengthCase{200000, 30000, "1705032"}));

}  // namespace
}  // namespace trelvanox
