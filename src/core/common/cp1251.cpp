#include "common/cp1251.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace trelvanox {

namespace {

// Code points of the bytes 0x80..0xBF; 0xC0..0xFF are the contiguous Cyrillic letters
// U+0410..U+044F and 0x00..0x7F are ASCII. 0x98 is undefined in the code page and maps to
// U+0098 so that every byte has a character of its own.
constexpr std::array<char16_t, 64> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8
};

constexpr char32_t kCyrillicFirst = 0x0410;  // А, byte 0xC0
constexpr char32_t kCyrillicLast = 0x044F;   // я, byte 0xFF
constexpr unsigned char kCyrillicFirstByte = 0xC0;

constexpr char32_t CodePointOf(unsigned byte) {
    if (byte < 0x80) return byte;
    if (byte >= kCyrillicFirstByte) return kCyrillicFirst + (byte - kCyrillicFirstByte);
    return kHighHalf[byte - 0x80];
}

// The UTF-8 form of one byte's character: at most three bytes.
struct TUtf8Char {
    std::array<char, 3> bytes{};
    unsigned char size = 0;
};

constexpr TUtf8Char ToUtf8(char32_t cp) {
    TUtf8Char out;
    if (cp < 0x80) {
        out.bytes[0] = static_cast<char>(cp);
        out.size = 1;
    } else if (cp < 0x800) {
        out.bytes[0] = static_cast<char>(0xC0 | (cp >> 6));
        out.bytes[1] = static_cast<char>(0x80 | (cp & 0x3F));
        out.size = 2;
    } else {
        out.bytes[0] = static_cast<char>(0xE0 | (cp >> 12));
        out.bytes[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out.bytes[2] = static_cast<char>(0x80 | (cp & 0x3F));
        out.size = 3;
    }
    return out;
}

constexpr std::array<TUtf8Char, 256> MakeDecodeTable() {
    std::array<TUtf8Char, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) table[byte] = ToUtf8(CodePointOf(byte));
    return table;
}

constexpr std::array<TUtf8Char, 256> kDecodeTable = MakeDecodeTable();

// The bytes 0x80..0xBF sorted by code point, for a binary search when encoding.
struct TEncodeEntry {
    char16_t codePoint;
    unsigned char byte;
};

constexpr std::array<TEncodeEntry, 64> MakeEncodeTable() {
    std::array<TEncodeEntry, 64> table{};
    for (unsigned i = 0; i < table.size(); ++i)
        table[i] = {kHighHalf[i], static_cast<unsigned char>(0x80 + i)};
    std::sort(table.begin(), table.end(), [](const TEncodeEntry& a, const TEncodeEntry& b) {
        return a.codePoint < b.codePoint;
    });
    return table;
}

constexpr std::array<TEncodeEntry, 64> kEncodeTable = MakeEncodeTable();

constexpr char kUnmappable = '?';

char EncodeCodePoint(char32_t cp) {
    if (cp < 0x80) return static_cast<char>(cp);
    if (cp >= kCyrillicFirst && cp <= kCyrillicLast)
        return static_cast<char>(kCyrillicFirstByte + (cp - kCyrillicFirst));
    if (cp > 0xFFFF) return kUnmappable;
    const auto it = std::lower_bound(
        kEncodeTable.begin(), kEncodeTable.end(), cp,
        [](const TEncodeEntry& entry, char32_t value) { return entry.codePoint < value; });
    if (it != kEncodeTable.end() && it->codePoint == cp) return static_cast<char>(it->byte);
    return kUnmappable;
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Reads one well-formed UTF-8 sequence at `pos`. Returns its length, or 0 when the bytes there
// do not start one (stray continuation, overlong form, surrogate, beyond U+10FFFF, truncated).
std::size_t ReadUtf8(std::string_view text, std::size_t pos, char32_t& cp) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = at(0);
    const std::size_t left = text.size() - pos;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        if (left < 2 || !IsContinuation(at(1))) return 0;
        cp = (char32_t{lead} & 0x1F) << 6 | (at(1) & 0x3F);
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (left < 3 || !IsContinuation(at(1)) || !IsContinuation(at(2))) return 0;
        if (lead == 0xE0 && at(1) < 0xA0) return 0;   // overlong
        if (lead == 0xED && at(1) >= 0xA0) return 0;  // UTF-16 surrogate
        cp = (char32_t{lead} & 0x0F) << 12 | (char32_t{at(1)} & 0x3F) << 6 | (at(2) & 0x3F);
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (left < 4 || !IsContinuation(at(1)) || !IsContinuation(at(2)) || !IsContinuation(at(3)))
            return 0;
        if (lead == 0xF0 && at(1) < 0x90) return 0;   // overlong
        if (lead == 0xF4 && at(1) >= 0x90) return 0;  // beyond U+10FFFF
        cp = (char32_t{lead} & 0x07) << 18 | (char32_t{at(1)} & 0x3F) << 12 |
             (char32_t{at(2)} & 0x3F) << 6 | (at(3) & 0x3F);
        return 4;
    }
    return 0;
}

}  // namespace

std::string DecodeCp1251(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const TUtf8Char& ch = kDecodeTable[static_cast<unsigned char>(c)];
        out.append(ch.bytes.data(), ch.size);
    }
    return out;
}

std::string EncodeCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp = 0;
        const std::size_t length = ReadUtf8(utf8, pos, cp);
        if (length == 0) {
            // One "?" for every byte that is not part of a well-formed sequence.
            out.push_back(kUnmappable);
            ++pos;
            continue;
        }
        out.push_back(EncodeCodePoint(cp));
        pos += length;
    }
    return out;
}

}  // namespace trelvanox
