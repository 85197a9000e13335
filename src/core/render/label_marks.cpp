#include "render/label_marks.h"

#include <algorithm>

#include "labels/read_label_table.h"

namespace trelvanox {

std::vector<TLabelMark> LabelMarks(const TRadargram& model) {
    std::vector<TLabelMark> marks;
    if (!model.HasHeader()) return marks;
    auto traces = model.TraceHeaders();
    traces = traces.first(std::min<std::size_t>(traces.size(), model.Header().TraceCount));
    // As many as the read counted, as the table shows them.
    for (std::size_t t = 0; t < traces.size() && marks.size() < model.LabelTotal(); ++t) {
        const std::uint32_t index = traces[t].LabelIndex;
        if (index == 0) continue;
        const auto row = static_cast<std::uint32_t>(marks.size() + 1);
        marks.push_back({static_cast<std::uint32_t>(t), LabelColorOf(model, row),
                         index >= 2 ? LabelTextOf(model, index) : std::string(),
                         static_cast<int>(row)});
    }
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
