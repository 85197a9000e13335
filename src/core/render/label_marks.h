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

// Draws each mark whose trace the view shows as a one-pixel line down the whole picture.
void DrawLabelLines(TRgbImage& image, const TRenderView& view, std::span<const TLabelMark> marks);

}  // namespace trelvanox
