#include "render/label_marks.h"

#include "labels/read_label_table.h"

namespace trelvanox {

std::vector<TLabelMark> LabelMarks(const TRadargram& model) {
    std::vector<TLabelMark> marks;
    int row = 0;
    for (TReadLabelRow& label : ReadLabelRows(model))
        marks.push_back({label.Trace, label.Color, std::move(label.Text).value_or(""), ++row});
    return marks;
}

TRgb MarkColour(std::uint32_t color) {
    return {static_cast<std::uint8_t>(color & 0xff), static_cast<std::uint8_t>((color >> 8) & 0xff),
            static_cast<std::uint8_t>((color >> 16) & 0xff)};
}

void DrawLabelLines(TRgbImage& image, const TRenderView& view, std::span<const TLabelMark> marks) {
    for (const TLabelMark& mark : marks) {
        const int x = CellPixel(view.FirstTrace, view.TraceSpan, image.Width, mark.Trace);
        if (x < 0) continue;
        for (int y = 0; y < image.Height; ++y) image.Set(x, y, MarkColour(mark.Color));
    }
}

}  // namespace trelvanox
