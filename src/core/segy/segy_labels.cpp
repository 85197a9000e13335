#include "segy/segy_labels.h"

#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

#include "labels/read_label_table.h"
#include "segy/segy_geometry.h"

namespace trelvanox {

namespace {

constexpr std::string_view kTitle = "trace,chainage,coordinate_m,colour,text";
constexpr std::string_view kRecordEnd = "\r\n";

void AppendField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(field);
        return;
    }
    out.push_back('"');
    for (const char c : field) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

// A stored colour value 0x00BBGGRR as #RRGGBB.
std::string ColourText(std::uint32_t color) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "#%02X%02X%02X", color & 0xFFu, (color >> 8) & 0xFFu,
                  (color >> 16) & 0xFFu);
    return text.data();
}

}  // namespace

std::filesystem::path SegyLabelsPath(const std::filesystem::path& segyPath) {
    std::filesystem::path path = segyPath;
    return path.replace_extension(".labels.csv");
}

std::string BuildSegyLabelsText(const TRadargram& model) {
    std::string out(kTitle);
    out.append(kRecordEnd);
    for (const TReadLabelRow& row : ReadLabelRows(model)) {
        out.append(std::to_string(std::uint64_t{row.Trace} + 1));
        out.push_back(',');
        AppendField(out, ChainageText(row.Coordinate, model.Header().StartCoordinate));
        out.push_back(',');
        out.append(MetresText(PositionMm(model, row.Trace)));
        out.push_back(',');
        out.append(ColourText(row.Color));
        out.push_back(',');
        AppendField(out, row.Text.value_or(std::string()));
        out.append(kRecordEnd);
    }
    return out;
}

}  // namespace trelvanox
