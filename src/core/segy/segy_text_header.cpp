#include "segy/segy_text_header.h"

#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>

#include "labels/read_label_table.h"
#include "model/text_field.h"
#include "segy/segy_geometry.h"

namespace trelvanox {

namespace {

// The lowercase Russian letters а to я in Latin letters; ъ and ь leave no trace.
constexpr std::array<std::string_view, 32> kLetters{
    "a", "b", "v", "g", "d", "e",  "zh", "z",  "i",  "y",    "k", "l", "m", "n", "o",  "p",
    "r", "s", "t", "u", "f", "kh", "ts", "ch", "sh", "shch", "",  "y", "",  "e", "yu", "ya",
};
constexpr char32_t kCapitalA = 0x0410;
constexpr char32_t kSmallA = 0x0430;
constexpr char32_t kCapitalYo = 0x0401;
constexpr char32_t kSmallYo = 0x0451;

// The next code point of text from position i on (advancing i); a malformed sequence yields
// one replacement per byte.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i++);
    int extra = 0;
    char32_t code = lead;
    if (lead >= 0xF0 && lead < 0xF8) {
        extra = 3;
        code = lead & 0x07;
    } else if (lead >= 0xE0) {
        extra = 2;
        code = lead & 0x0F;
    } else if (lead >= 0xC0) {
        extra = 1;
        code = lead & 0x1F;
    } else if (lead >= 0x80) {
        return 0xFFFD;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (byte(i) & 0xC0) != 0x80) return 0xFFFD;
        code = (code << 6) | (byte(i++) & 0x3F);
    }
    return code;
}

std::string LatinOf(char32_t code) {
    if (code >= 0x20 && code < 0x7F) return std::string(1, static_cast<char>(code));
    bool capital = false;
    std::string_view latin;
    if (code >= kCapitalA && code < kSmallA) {
        capital = true;
        latin = kLetters[code - kCapitalA];
    } else if (code >= kSmallA && code < kSmallA + 32) {
        latin = kLetters[code - kSmallA];
    } else if (code == kCapitalYo || code == kSmallYo) {
        capital = code == kCapitalYo;
        latin = "e";
    } else if (code == 0x2116) {  // the numero sign
        return "N";
    } else if (code == 0x2013 || code == 0x2014) {  // dashes
        return "-";
    } else if (code == 0x00AB || code == 0x00BB || code == 0x201C || code == 0x201D ||
               code == 0x201E) {  // quotation marks
        return "\"";
    } else {
        return "?";
    }
    std::string out(latin);
    if (capital && !out.empty()) out[0] = static_cast<char>(out[0] - 'a' + 'A');
    return out;
}

std::string Number(std::int64_t value) {
    return std::to_string(value);
}

// The shortest text that reads back as the same float, "." as the decimal point.
std::string FloatText(float value) {
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return error == std::errc() ? std::string(buffer.data(), end) : std::string("?");
}

std::string IntervalText(const TRadarHeader& header) {
    const std::int64_t ps = SampleIntervalPs(header);
    std::string text = NanosecondsText(ps) + " NS = " + Number(ps) + " PS";
    if (ps > kMaxHeaderIntervalPs) text += " (TOO LONG FOR THE FIELDS, WRITTEN AS 0)";
    return text;
}

// "C 7 " and the text, cut or filled with blanks to the card's width.
std::string Card(int number, std::string_view text) {
    std::array<char, 16> prefix{};
    std::snprintf(prefix.data(), prefix.size(), "C%2d ", number);
    std::string line = prefix.data();
    line += text;
    line.resize(kSegyTextColumns, ' ');
    return line;
}

}  // namespace

std::string Transliterate(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) out += LatinOf(NextCodePoint(utf8, i));
    return out;
}

std::string TodayText() {
    const auto today = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    const std::chrono::year_month_day date{today};
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text.data();
}

std::vector<std::string> SegyTextLines(const TRadargram& model, const TSegyTextInfo& info) {
    const TRadarHeader& h = model.Header();
    const auto field = [](const char(&text)[kTextFieldSize]) {
        return Transliterate(ReadTextField(text));
    };
    const std::string labels = info.LabelsName.empty()
                                   ? std::string("NOT EXPORTED")
                                   : "LABEL N IS DATA ROW N OF " + Transliterate(info.LabelsName);
    const std::vector<std::string> texts{
        "TRELVANOX GPR PROFILE EXPORT",
        "SOURCE FILE: " + Transliterate(info.SourceName),
        "EXPORT DATE: " + info.Date,
        "OPERATOR: " + field(h.OperatorName),
        "OBJECT: " + field(h.ObjectName),
        "ANTENNA: " + field(h.AntennaName),
        "DESCRIPTION 1: " + field(h.Description1),
        "DESCRIPTION 2: " + field(h.Description2),
        "DESCRIPTION 3: " + field(h.Description3),
        "TRACES: " + Number(h.TraceCount),
        "SAMPLES PER TRACE: " + Number(h.SampleCount),
        "RECORD TIME: " + Number(h.RecordTime) + " NS",
        "START TIME: " + Number(h.StartTime) + " NS",
        "SAMPLE INTERVAL: " + IntervalText(h),
        "SAMPLE INTERVAL IN PICOSECONDS, NOT MICROSECONDS (GPR CONVENTION):",
        "BINARY HEADER BYTES 3217-3218 AND TRACE HEADER BYTES 117-118",
        "SAMPLES: 4-BYTE IEEE FLOAT (FORMAT 5), BIG-ENDIAN, AS RECORDED",
        "PERMITTIVITY: " + FloatText(h.Permittivity),
        "START COORDINATE: " + MetresText(h.StartCoordinate) + " M (" +
            Transliterate(ChainageText(0, h.StartCoordinate)) + ")",
        "TRACE STEP: " + MetresText(h.StepX) + " M",
        "POSITION: START COORDINATE + TRACE COORDINATE ALONG THE PROFILE",
        "IN SOURCE X, GROUP X AND CDP X (BYTES 73, 81, 181), Y = 0,",
        "COORDINATE SCALAR (BYTES 71-72): " + Number(info.Scalar) + ", UNITS METRES",
        "TRACE SEQUENCE NUMBER (BYTES 1-4) = RADARGRAM TRACE INDEX + 1",
        "LABELS: " + Number(model.LabelTotal()) +
            (info.LabelsName.empty() ? std::string(", NOT EXPORTED")
                                     : ", LABEL NUMBER IN TRACE HEADER BYTES 233-236 (0 = NONE)"),
        "LABEL TEXTS: " + labels,
    };
    std::vector<std::string> lines;
    lines.reserve(kSegyTextLines);
    for (const std::string& text : texts)
        lines.push_back(Card(static_cast<int>(lines.size()) + 1, text));
    while (static_cast<int>(lines.size()) < kSegyTextLines - 2)
        lines.push_back(Card(static_cast<int>(lines.size()) + 1, ""));
    lines.push_back(Card(kSegyTextLines - 1, "SEG Y REV1"));
    lines.push_back(Card(kSegyTextLines, "END TEXTUAL HEADER"));
    return lines;
}

}  // namespace trelvanox
