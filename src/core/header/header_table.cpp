#include "header/header_table.h"

#include <array>
#include <cstdint>

#include "common/number_format.h"
#include "model/text_field.h"

namespace trelvanox {

namespace {

constexpr int kParameterCol = static_cast<int>(THeaderTableColumn::Parameter);
constexpr int kUnitCol = static_cast<int>(THeaderTableColumn::Unit);
constexpr int kValueCol = static_cast<int>(THeaderTableColumn::Value);

struct TCaption {
    const char* Parameter;
    const char* Unit;
};

// Rows 1 to 16, in the order FillHeaderTable writes their values.
constexpr std::array<TCaption, kHeaderTableRows - 1> kCaptions{{
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
}};

constexpr std::int64_t kPicketMm = 100000;
constexpr std::int32_t kMmPerCm = 10;
constexpr std::uint32_t kMmPerMetre = 1000;

}  // namespace

void SetHeaderTableCaptions(TStringGrid& grid) {
    grid.SetCell(kParameterCol, 0, "Параметр");
    grid.SetCell(kUnitCol, 0, "ед. изм");
    grid.SetCell(kValueCol, 0, "Значение");
    int row = 1;
    for (const TCaption& caption : kCaptions) {
        grid.SetCell(kParameterCol, row, caption.Parameter);
        grid.SetCell(kUnitCol, row, caption.Unit);
        ++row;
    }
}

std::string FillHeaderTable(TStringGrid& grid, const TRadarHeader& header) {
    SetHeaderTableCaptions(grid);
    const std::array<std::string, kHeaderTableRows - 1> values{
        ReadTextField(header.OperatorName),
        ReadTextField(header.AntennaName),
        FormatUnsigned(header.ScanMode),
        FormatSigned(header.StartTime),
        FormatUnsigned(header.Stacking),
        FormatUnsigned(header.TraceCount),
        FormatUnsigned(header.RecordTime),
        FormatUnsigned(header.SampleCount),
        FormatSigned64(header.StartCoordinate / kPicketMm),
        FormatSigned(header.StepX / kMmPerCm),
        FormatFloat(static_cast<double>(header.Permittivity)),
        FormatUnsigned(header.LabelCount),
        ReadTextField(header.ObjectName),
        ReadTextField(header.Description1),
        ReadTextField(header.Description2),
        ReadTextField(header.Description3),
    };
    int row = 1;
    for (const std::string& value : values) grid.SetCell(kValueCol, row++, value);
    return ProfileLengthText(header);
}

std::string ProfileLengthText(const TRadarHeader& header) {
    // The product is kept to 32 bits and read unsigned, so a negative step shows as a huge
    // length, never as a negative one.
    const std::uint32_t lengthMm = header.TraceCount * static_cast<std::uint32_t>(header.StepX);
    return FormatUnsigned(lengthMm / kMmPerMetre);
}

}  // namespace trelvanox
