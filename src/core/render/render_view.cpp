#include "render/render_view.h"

#include <algorithm>
#include <cmath>

namespace trelvanox {

namespace {

// One axis of ClampView.
void ClampAxis(double& first, double& span, std::uint32_t count) {
    const double whole = std::max<double>(count, 1.0);
    span = std::clamp(span, 1.0, whole);
    first = std::clamp(first, 0.0, whole - span);
}

}  // namespace

TRenderView WholeView(std::uint32_t traceCount, std::uint32_t sampleCount) {
    return {0.0, static_cast<double>(traceCount), 0.0, static_cast<double>(sampleCount)};
}

TRenderView ClampView(TRenderView view, std::uint32_t traceCount, std::uint32_t sampleCount) {
    ClampAxis(view.FirstTrace, view.TraceSpan, traceCount);
    ClampAxis(view.FirstSample, view.SampleSpan, sampleCount);
    return view;
}

TCellRange PixelCells(double first, double span, int pixels, int pixel) {
    if (span < pixels) {
        // Narrower than a cell: the cell under the pixel's centre.
        const auto cell =
            static_cast<std::int64_t>(std::floor(first + ((pixel + 0.5) * span) / pixels));
        return {cell, cell + 1};
    }
    // The products are exact for whole numbers, so a pixel edge that falls on a cell edge is
    // found exactly and no cell is counted twice or lost. A pixel at least a cell wide always
    // holds one.
    const double lo = first + (static_cast<double>(pixel) * span) / pixels;
    const double hi = first + (static_cast<double>(pixel + 1) * span) / pixels;
    return {static_cast<std::int64_t>(std::ceil(lo)), static_cast<std::int64_t>(std::ceil(hi))};
}

int CellPixel(double first, double span, int pixels, std::int64_t cell) {
    if (pixels <= 0 || span <= 0) return -1;
    // A wide pixel holds the cells of its stretch; a cell wider than a pixel is marked in its
    // middle.
    const double offset = span >= pixels ? static_cast<double>(cell) - first : cell + 0.5 - first;
    const double at = std::floor(offset * pixels / span);
    if (at < 0 || at >= pixels) return -1;
    return static_cast<int>(at);
}

}  // namespace trelvanox
