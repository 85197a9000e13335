#include "labels/picket_text.h"

#include <array>
#include <cmath>
#include <string>

#include "common/conversion.h"

namespace trelvanox {

namespace {

constexpr std::array<std::string_view, 6> kPicketPrefixes = {"ПК", "пк", "Пк", "PK", "pk", "Pk"};

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Strips a leading picket prefix; whether there was one.
bool StripPrefix(std::string_view& text) {
    for (const std::string_view prefix : kPicketPrefixes) {
        if (text.starts_with(prefix)) {
            text.remove_prefix(prefix.size());
            return true;
        }
    }
    return false;
}

[[noreturn]] void ThrowNotChainage(std::string_view text) {
    throw TPicketTextError("«" + std::string(text) +
                           "» — не пикет: ожидается «ПК12+35», «12+35» или метры «1235.5».");
}

std::int64_t Millimetres(long double metres, std::string_view text) {
    const long double mm = std::round(metres * 1000.0L);
    // -2^63 and 2^63 are exact; NaN fails both comparisons.
    constexpr long double kLimit = 9223372036854775808.0L;
    if (!(mm >= -kLimit && mm < kLimit)) ThrowNotChainage(text);
    return static_cast<std::int64_t>(mm);
}

}  // namespace

long double PicketLength(std::string_view baseText) {
    long double metres = 0;
    try {
        metres = StrToFloat(Trimmed(baseText));
    } catch (const TConversionError&) {
        metres = 0;
    }
    if (!(metres > 0 && std::isfinite(metres)))
        throw TPicketTextError("Длина пикета «" + std::string(baseText) +
                               "» должна быть положительным числом метров.");
    return metres;
}

std::int64_t ParseChainage(std::string_view text, long double picketLength) {
    std::string_view body = Trimmed(text);
    const bool prefixed = StripPrefix(body);
    body = Trimmed(body);
    const auto plus = body.find('+', 1);
    try {
        if (plus != std::string_view::npos) {
            const long double pickets = StrToFloat(body.substr(0, plus));
            const long double metres = StrToFloat(body.substr(plus + 1));
            return Millimetres(pickets * picketLength + metres, text);
        }
        const long double value = StrToFloat(body);
        return Millimetres(prefixed ? value * picketLength : value, text);
    } catch (const TConversionError&) {
        ThrowNotChainage(text);
    }
}

std::optional<std::int64_t> PicketOfLabelText(std::string_view text, long double picketLength) {
    // The first picket named anywhere in the text: "ПК12", "Переезд ПК12+55", "ПК 3+20 мост".
    for (std::size_t at = 0; at < text.size(); ++at) {
        std::string_view rest = text.substr(at);
        if (!StripPrefix(rest)) continue;
        rest = rest.substr(std::min(rest.find_first_not_of(" \t"), rest.size()));
        const std::size_t end = std::min(rest.find_first_not_of("0123456789+-."), rest.size());
        const std::string_view number = rest.substr(0, end);
        if (number.empty()) continue;
        try {
            return ParseChainage(std::string("ПК") + std::string(number), picketLength);
        } catch (const TPicketTextError&) {
            continue;
        }
    }
    return std::nullopt;
}

}  // namespace trelvanox
