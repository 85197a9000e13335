#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/radargram.h"
#include "render/render_view.h"
#include "render/rgb_image.h"

namespace trelvanox {

// A label as a picture of the profile shows it: a vertical line on its trace in its stored
// colour, with its text at the top. Row is the label's row in the read-label table (1-based), so
// that a click on the line can find it there.
struct TLabelMark {
    std::uint32_t Trace = 0;
    std::uint32_t Color = 0;  // 0x00BBGGRR, as stored
    std::string Text;         // UTF-8; empty for a label without text
    int Row = 0;
    bool operator==(const TLabelMark&) const = default;
};

// The labels of the profile in the order, and with the texts and colours, of the read-label
// table. Expects a model after a complete read.
std::vector<TLabelMark> LabelMarks(const TRadargram& model);

TRgb MarkColour(std::uint32_t color);

// A label line as a picture draws it: at most one per pixel column, and where labels crowd one
// in kCrowdedSpacing columns, drawn kCrowdedAlpha of 255 opaque, so that however many labels a
// view holds the profile stays visible between and behind them.
constexpr int kCrowdedSpacing = 4;
constexpr int kCrowdedAlpha = 96;
struct TPlacedMark {
    std::size_t Index = 0;  // into the marks given
    int X = 0;              // pixel column
    // Other labels share the column or lie in the next ones: drawn mostly transparent.
    bool Crowded = false;
};
struct TMarkLayout {
    std::vector<TPlacedMark> Lines;  // by column, left to right
    std::size_t Visible = 0;         // labels whose trace the view shows
};
// The lines of the marks (in trace order) that a view across width pixels shows.
TMarkLayout PlaceLabelLines(std::span<const TLabelMark> marks, const TRenderView& view, int width);

// Draws the placed lines of the marks down the whole picture, crowded ones mostly transparent.
void DrawLabelLines(TRgbImage& image, const TRenderView& view, std::span<const TLabelMark> marks);

}  // namespace trelvanox
