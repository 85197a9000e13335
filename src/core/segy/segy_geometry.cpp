#include "segy/segy_geometry.h"

#include <array>
#include <cstdio>
#include <limits>

#include "common/program_error.h"

namespace trelvanox {

namespace {

// The scalars the standard allows, finest first, and the millimetres one unit of each holds.
struct TScale {
    std::int32_t Scalar;
    std::int64_t UnitMm;
};
constexpr std::array<TScale, 8> kScales{{
    {-1000, 1},
    {-100, 10},
    {-10, 100},
    {1, 1000},
    {10, 10000},
    {100, 100000},
    {1000, 1000000},
    {10000, 10000000},
}};

// Rounds half away from zero, as a position halfway between two units is equally near both.
std::int64_t DivideRounded(std::int64_t value, std::int64_t unit) {
    std::int64_t quotient = value / unit;
    const std::int64_t remainder = value % unit;
    if ((remainder < 0 ? -remainder : remainder) * 2 >= unit) quotient += value < 0 ? -1 : 1;
    return quotient;
}

bool FitsInt32(std::int64_t value) {
    return value >= std::numeric_limits<std::int32_t>::min() &&
           value <= std::numeric_limits<std::int32_t>::max();
}

// Three decimals of value / 1000 without going through floating point.
std::string ThousandthsText(std::int64_t value) {
    // The magnitude of the lowest int64 does not fit an int64; an unsigned one holds it.
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%s%llu.%03llu", value < 0 ? "-" : "",
                  static_cast<unsigned long long>(magnitude / 1000),
                  static_cast<unsigned long long>(magnitude % 1000));
    return text.data();
}

}  // namespace

std::int64_t SampleIntervalPs(const TRadarHeader& header) {
    if (header.SampleCount == 0) return 0;
    const std::int64_t ps = std::int64_t{header.RecordTime} * 1000;
    return DivideRounded(ps, header.SampleCount);
}

std::int32_t HeaderIntervalPs(const TRadarHeader& header) {
    const std::int64_t ps = SampleIntervalPs(header);
    return ps <= kMaxHeaderIntervalPs ? static_cast<std::int32_t>(ps) : 0;
}

std::int64_t PositionMm(const TRadargram& model, std::uint32_t t) {
    // The start may be any 64-bit value a file holds; saturate rather than overflow.
    const std::int64_t start = model.Header().StartCoordinate;
    const std::int64_t offset = model.TraceHeaders()[t].Coordinate;
    std::int64_t position = 0;
    if (__builtin_add_overflow(start, offset, &position))
        return start < 0 ? std::numeric_limits<std::int64_t>::min()
                         : std::numeric_limits<std::int64_t>::max();
    return position;
}

TSegyPositions ScalePositions(const TRadargram& model) {
    const std::uint32_t traces = model.Header().TraceCount;
    std::int64_t largest = 0;
    std::int64_t smallest = 0;
    for (std::uint32_t t = 0; t < traces; ++t) {
        const std::int64_t position = PositionMm(model, t);
        if (position > largest) largest = position;
        if (position < smallest) smallest = position;
    }
    for (const TScale& scale : kScales) {
        if (!FitsInt32(DivideRounded(largest, scale.UnitMm)) ||
            !FitsInt32(DivideRounded(smallest, scale.UnitMm)))
            continue;
        TSegyPositions positions;
        positions.Scalar = scale.Scalar;
        positions.Values.reserve(traces);
        for (std::uint32_t t = 0; t < traces; ++t)
            positions.Values.push_back(
                static_cast<std::int32_t>(DivideRounded(PositionMm(model, t), scale.UnitMm)));
        return positions;
    }
    throw TProgramError(
        "Экспорт в SEG-Y невозможен: координаты трасс слишком велики для заголовков SEG-Y "
        "(проверьте координату начала профиля).");
}

std::string MetresText(std::int64_t mm) {
    return ThousandthsText(mm);
}

std::string NanosecondsText(std::int64_t ps) {
    return ThousandthsText(ps);
}

}  // namespace trelvanox
