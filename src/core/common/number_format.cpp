#include "common/number_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

namespace trelvanox {

namespace {

template <typename Int>
std::string FormatInteger(Int value) {
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

constexpr int kSignificantDigits = 15;
// Decimal exponents (of the first significant digit, after rounding) outside this range are
// written in exponent form: 16 or more digits before the point, or a magnitude below 0.00001.
constexpr int kMaxFixedExponent = kSignificantDigits - 1;
constexpr int kMinFixedExponent = -5;

}  // namespace

std::string FormatUnsigned(std::uint32_t value) {
    return FormatInteger(value);
}

std::string FormatSigned(std::int32_t value) {
    return FormatInteger(value);
}

std::string FormatSigned64(std::int64_t value) {
    return FormatInteger(value);
}

std::string FormatFloat(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";

    // Round to 15 significant digits first: the rounded number decides the form, so that
    // 999999999999999.9 becomes 1E15. to_chars ignores the process locale.
    std::array<char, 32> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                      std::chars_format::scientific, kSignificantDigits - 1);
    // result: "d.dddddddddddddde[+-]x"
    const std::string_view scientific(buffer.data(), result.ptr - buffer.data());
    const std::size_t ePos = scientific.find('e');
    std::string digits;
    digits.reserve(kSignificantDigits);
    for (const char c : scientific.substr(0, ePos))
        if (c != '.') digits.push_back(c);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string_view exponentText = scientific.substr(ePos + 1);
    if (exponentText.front() == '+') exponentText.remove_prefix(1);
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

    std::string out = value < 0 ? "-" : "";
    if (exponent > kMaxFixedExponent || exponent < kMinFixedExponent) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += 'E';
        out += FormatInteger(exponent);
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const auto intDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            out += digits;
            out.append(intDigits - digits.size(), '0');
        } else {
            out.append(digits, 0, intDigits);
            out += '.';
            out.append(digits, intDigits);
        }
    }
    return out;
}

}  // namespace trelvanox
