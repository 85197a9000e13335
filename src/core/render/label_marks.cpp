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

TMarkLayout PlaceLabelLines(std::span<const TLabelMark> marks, const TRenderView& view, int width) {
    TMarkLayout layout;
    // The marks come in trace order, so the marks of one pixel column follow each other.
    for (std::size_t i = 0; i < marks.size();) {
        const int x = CellPixel(view.FirstTrace, view.TraceSpan, width, marks[i].Trace);
        std::size_t end = i + 1;
        while (end < marks.size() &&
               CellPixel(view.FirstTrace, view.TraceSpan, width, marks[end].Trace) == x)
            ++end;
        if (x >= 0) {
            layout.Visible += end - i;
            const bool crowded = end - i > 1;
            // Where labels crowd, free columns between two lines keep the profile in sight.
            TPlacedMark* last = layout.Lines.empty() ? nullptr : &layout.Lines.back();
            if (last && (crowded || last->Crowded) && x - last->X < kCrowdedSpacing)
                last->Crowded = true;
            else
                layout.Lines.push_back({i, x, crowded});
        }
        i = end;
    }
    return layout;
}

void DrawLabelLines(TRgbImage& image, const TRenderView& view, std::span<const TLabelMark> marks) {
    for (const TPlacedMark& line : PlaceLabelLines(marks, view, image.Width).Lines) {
        const TRgb colour = MarkColour(marks[line.Index].Color);
        for (int y = 0; y < image.Height; ++y) {
            if (!line.Crowded) {
                image.Set(line.X, y, colour);
                continue;
            }
            const TRgb under = image.At(line.X, y);
            const auto half = [](std::uint8_t a, std::uint8_t b) {
                return static_cast<std::uint8_t>((a + b + 1) / 2);
            };
            image.Set(line.X, y,
                      {half(under.R, colour.R), half(under.G, colour.G), half(under.B, colour.B)});
        }
    }
}

}  // namespace trelvanox
