#include "settings/ini_file.h"

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "common/conversion.h"
#include "common/cp1251.h"
#include "settings/durable_file.h"

namespace trelvanox {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kLineBreak = "\r\n";

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

// One line of the file: its text and the bytes that end it (empty on a last line without one).
struct TLine {
    std::string_view Text;
    std::string_view Break;
};

std::vector<TLine> SplitLines(std::string_view content) {
    std::vector<TLine> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const auto end = content.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back({content.substr(start), {}});
            break;
        }
        const std::size_t breakSize =
            (content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n') ? 2 : 1;
        lines.push_back({content.substr(start, end - start), content.substr(end, breakSize)});
        start = end + breakSize;
    }
    return lines;
}

std::optional<std::string_view> SectionName(std::string_view text) {
    const auto line = Trim(text);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
    return Trim(line.substr(1, line.size() - 2));
}

bool IsComment(std::string_view text) {
    const auto line = Trim(text);
    return !line.empty() && (line.front() == ';' || line.front() == '#');
}

struct TKeyLine {
    std::string_view Name;
    std::string_view Value;  // trimmed, quotes still on
};

std::optional<TKeyLine> ParseKeyLine(std::string_view text) {
    if (IsComment(text)) return std::nullopt;
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return TKeyLine{Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
}

std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Where a key lives: only the first section of the name counts, and in it the first line of
// the key.
struct TKeyPlace {
    std::optional<std::size_t> SectionLine;
    std::optional<std::size_t> KeyLine;
    std::size_t LastLineOfKeys = 0;  // the section line when the section has no keys
};

TKeyPlace FindKey(const std::vector<TLine>& lines, std::string_view section, std::string_view key) {
    TKeyPlace place;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionName(lines[i].Text)) {
            if (place.SectionLine) break;
            if (EqualNoCase(*name, section)) {
                place.SectionLine = i;
                place.LastLineOfKeys = i;
            }
            continue;
        }
        if (!place.SectionLine) continue;
        if (const auto keyLine = ParseKeyLine(lines[i].Text)) {
            place.LastLineOfKeys = i;
            if (EqualNoCase(keyLine->Name, key)) {
                place.KeyLine = i;
                break;
            }
        }
    }
    return place;
}

// A line break inside a value would end its line and turn the rest into lines of their own.
std::string OneLine(std::string text) {
    for (auto& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

bool EndsWithBreak(std::string_view content) {
    return !content.empty() && (content.back() == '\n' || content.back() == '\r');
}

// The content with the key set to the value; all names and the value are Windows-1251 bytes.
std::string WithValue(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value) {
    const auto lines = SplitLines(content);
    const auto place = FindKey(lines, section, key);
    std::string result;
    result.reserve(content.size() + section.size() + key.size() + value.size() + 8);
    if (!place.SectionLine) {
        result.append(content);
        if (!content.empty() && !EndsWithBreak(content)) result.append(kLineBreak);
        result.append("[").append(section).append("]").append(kLineBreak);
        result.append(key).append("=").append(value).append(kLineBreak);
        return result;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (place.KeyLine == i) {
            // The key keeps the spelling it has in the file.
            result.append(ParseKeyLine(lines[i].Text)->Name);
            result.append("=").append(value).append(kLineBreak);
            continue;
        }
        result.append(lines[i].Text);
        result.append(lines[i].Break);
        if (!place.KeyLine && i == place.LastLineOfKeys) {
            if (lines[i].Break.empty()) result.append(kLineBreak);
            result.append(key).append("=").append(value).append(kLineBreak);
        }
    }
    return result;
}

std::optional<std::string> ReadWholeFile(const fs::path& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (error) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string content(size, '\0');
    in.read(content.data(), static_cast<std::streamsize>(size));
    if (static_cast<std::uintmax_t>(in.gcount()) != size) return std::nullopt;
    return content;
}

// The current content of the target for an update; a missing file is empty, an unreadable one
// must not be overwritten.
std::optional<std::string> ContentForUpdate(const fs::path& target) {
    std::error_code error;
    const auto status = fs::status(target, error);
    if (status.type() == fs::file_type::not_found) return std::string();
    if (error || status.type() != fs::file_type::regular) return std::nullopt;
    // A file marked read-only stays as it is, as it would for the platform's profile calls.
    if (!FileTakesWrites(target)) return std::nullopt;
    return ReadWholeFile(target);
}

}  // namespace

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    const auto content = ReadWholeFile(path_);
    if (!content) return std::string(defaultValue);
    const auto lines = SplitLines(*content);
    const auto place = FindKey(lines, EncodeCp1251(section), EncodeCp1251(key));
    if (!place.KeyLine) return std::string(defaultValue);
    return DecodeCp1251(Unquoted(ParseKeyLine(lines[*place.KeyLine].Text)->Value));
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t defaultValue) const {
    try {
        return StrToInt(ReadString(section, key, {}));
    } catch (const TConversionError&) {
        return defaultValue;
    }
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const auto target = ResolveSymlinks(path_);
    const auto content = target ? ContentForUpdate(*target) : std::nullopt;
    if (!content ||
        !ReplaceFileDurably(*target, WithValue(*content, EncodeCp1251(section), EncodeCp1251(key),
                                               OneLine(EncodeCp1251(value))))) {
        throw TIniWriteError("Unable to write to " + path_.string());
    }
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

}  // namespace trelvanox
