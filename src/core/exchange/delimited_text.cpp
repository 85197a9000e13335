#include "exchange/delimited_text.h"

#include <algorithm>

#include <cstddef>

#include "common/cp1251.h"

namespace trelvanox {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    const auto unitAt = [&](std::size_t i) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (char32_t{first} << 8 | second) : (char32_t{second} << 8 | first);
    };
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t unit = unitAt(i);
        if (IsHighSurrogate(unit) && i + 3 < bytes.size() && IsLowSurrogate(unitAt(i + 2))) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00));
            i += 2;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            out.append(kReplacement);
        } else {
            AppendUtf8(out, unit);
        }
    }
    if (i < bytes.size()) out.append(kReplacement);  // an odd byte at the end
    return out;
}

// Well-formed UTF-8 stays as it is; every byte that starts no well-formed sequence becomes
// U+FFFD, so that nothing malformed reaches the cells.
std::string CleanUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[i + k]); };
        const auto cont = [&](std::size_t k) {
            return i + k < bytes.size() && (at(k) & 0xC0) == 0x80;
        };
        const unsigned char lead = at(0);
        std::size_t length = 0;
        if (lead < 0x80) {
            length = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = cont(1) ? 2 : 0;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            const bool ok = cont(1) && cont(2) && !(lead == 0xE0 && at(1) < 0xA0) &&
                            !(lead == 0xED && at(1) >= 0xA0);
            length = ok ? 3 : 0;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            const bool ok = cont(1) && cont(2) && cont(3) && !(lead == 0xF0 && at(1) < 0x90) &&
                            !(lead == 0xF4 && at(1) >= 0x90);
            length = ok ? 4 : 0;
        }
        if (length == 0) {
            out.append(kReplacement);
            ++i;
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
    return out;
}

}  // namespace

std::string DecodeTextFile(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) return CleanUtf8(bytes.substr(kUtf8Bom.size()));
    if (bytes.starts_with(kUtf16LeBom)) return DecodeUtf16(bytes.substr(kUtf16LeBom.size()), false);
    if (bytes.starts_with(kUtf16BeBom)) return DecodeUtf16(bytes.substr(kUtf16BeBom.size()), true);
    // Without a mark: letters beyond ASCII that all form valid UTF-8 are UTF-8 (as editors save
    // by default now); Windows-1251 letters almost never do, since a lead byte there is followed
    // by another letter, not by a continuation byte.
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii && CleanUtf8(bytes) == bytes) return std::string(bytes);
    return DecodeCp1251(bytes);
}

char DelimiterFor(std::int32_t delimiterIndex) {
    switch (delimiterIndex) {
        case 1:
            return ';';
        case 2:
            return ',';
        case 3:
            return ' ';
        default:
            return '\t';
    }
}

void SplitDelimitedLine(std::string_view line, char delimiter, std::vector<std::string>& fields) {
    std::string_view rest = line;
    while (!rest.empty()) {
        const std::size_t at = rest.find(delimiter);
        if (at == std::string_view::npos) break;
        fields.emplace_back(Trim(rest.substr(0, at)));
        rest.remove_prefix(at + 1);
    }
    if (!rest.empty()) fields.emplace_back(Trim(rest));
}

std::vector<std::string> DecodeTextLines(std::string_view fileBytes) {
    const std::string text = DecodeTextFile(fileBytes);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

}  // namespace trelvanox
