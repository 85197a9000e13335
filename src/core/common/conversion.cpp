#include "common/conversion.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <system_error>

namespace trelvanox {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

[[noreturn]] void ThrowNotInteger(std::string_view text) {
    throw TConversionError("'" + std::string(text) + "' is not a valid integer value");
}

[[noreturn]] void ThrowNotFloat(std::string_view text) {
    throw TConversionError("'" + std::string(text) + "' is not a valid floating point value");
}

// Where the digits of a decimal number lie, as found by ScanDecimal.
struct TDecimalShape {
    bool negative = false;
    std::size_t numberStart = 0;  // first character after a leading "+" (from_chars rejects "+")
    bool allZero = true;
    // Power of ten of the first non-zero digit (1 for 12.5, -2 for 0.05), exponent included;
    // only the sign matters, to tell an underflow from an overflow.
    std::int64_t leadingPower = 0;
};

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    return pos;
}

// Checks the grammar [+-](digits[.[digits]] | .digits)[(e|E)[+-]digits] over the whole text.
bool ScanDecimal(std::string_view text, TDecimalShape& shape) {
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        shape.negative = text[pos] == '-';
        if (!shape.negative) shape.numberStart = 1;
        ++pos;
    }

    const std::size_t intStart = pos;
    pos = SkipDigits(text, pos);
    const std::size_t intEnd = pos;
    std::size_t fracStart = pos;
    std::size_t fracEnd = pos;
    if (pos < text.size() && text[pos] == '.') {
        fracStart = ++pos;
        pos = SkipDigits(text, pos);
        fracEnd = pos;
    }
    if (intEnd == intStart && fracEnd == fracStart) return false;

    // The position of the first non-zero digit relative to the decimal point.
    std::int64_t power = 0;
    bool found = false;
    for (std::size_t i = intStart; i < intEnd && !found; ++i) {
        if (text[i] != '0') {
            power = static_cast<std::int64_t>(intEnd - i) - 1;
            found = true;
        }
    }
    for (std::size_t i = fracStart; i < fracEnd && !found; ++i) {
        if (text[i] != '0') {
            power = -static_cast<std::int64_t>(i - fracStart) - 1;
            found = true;
        }
    }
    shape.allZero = !found;

    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        bool negativeExponent = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            negativeExponent = text[pos] == '-';
            ++pos;
        }
        const std::size_t expStart = pos;
        pos = SkipDigits(text, pos);
        if (pos == expStart) return false;
        // Saturate: any exponent this large is far outside every floating-point range.
        constexpr std::int64_t kExponentCap = 1'000'000'000;
        std::int64_t exponent = 0;
        for (std::size_t i = expStart; i < pos; ++i)
            exponent = std::min<std::int64_t>(exponent * 10 + (text[i] - '0'), kExponentCap);
        power += negativeExponent ? -exponent : exponent;
    }
    shape.leadingPower = power;
    return pos == text.size();
}

// A decimal number in the grammar StrToFloat checks, correctly rounded to long double. The C++
// library of mingw-w64 parses a long double through double (its from_chars reads 1.1 with 53
// bits only), so there the C library's own correctly rounded strtold reads it; the only part of
// the grammar it reads by the locale is the decimal point, "." in the C locale that the core's
// programs keep on Windows.
std::from_chars_result ParseLongDouble(const char* first, const char* last, long double& value) {
#ifdef __MINGW32__
    const std::string text(first, last);
    char* end = nullptr;
    errno = 0;
    value = std::strtold(text.c_str(), &end);
    std::from_chars_result result{first + (end - text.c_str()), std::errc()};
    if (errno == ERANGE) result.ec = std::errc::result_out_of_range;
    return result;
#else
    return std::from_chars(first, last, value, std::chars_format::general);
#endif
}

}  // namespace

std::int32_t StrToInt(std::string_view text) {
    std::size_t pos = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        pos = 1;
    }
    if (pos == text.size()) ThrowNotInteger(text);

    // Magnitude of the most negative value; the accumulator stops before it could overflow.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        if (!IsDigit(text[pos])) ThrowNotInteger(text);
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > kLimit) ThrowNotInteger(text);
    }
    if (!negative && magnitude == kLimit) ThrowNotInteger(text);
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

long double StrToFloat(std::string_view text) {
    TDecimalShape shape;
    if (!ScanDecimal(text, shape)) ThrowNotFloat(text);

    // from_chars is locale-independent; the grammar above already ruled out the forms it would
    // accept beyond ours (inf, nan, a partial match).
    const char* first = text.data() + shape.numberStart;
    const char* last = text.data() + text.size();
    long double value = 0.0L;
    const auto [ptr, ec] = ParseLongDouble(first, last, value);
    if (ec == std::errc::result_out_of_range && (shape.allZero || shape.leadingPower < 0)) {
        // An underflow reads as zero. The library reports denormal results as out of range
        // too, so those read as zero as well.
        return shape.negative ? -0.0L : 0.0L;
    }
    if (ec != std::errc() || ptr != last) ThrowNotFloat(text);
    return value;
}

}  // namespace trelvanox
