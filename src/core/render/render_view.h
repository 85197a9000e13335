#pragma once

#include <cstdint>

#include "render/colour_table.h"

namespace trelvanox {

// The part of the profile a picture shows: traces [FirstTrace, FirstTrace + TraceSpan) across and
// samples [FirstSample, FirstSample + SampleSpan) down. The bounds may be fractional, so that a
// zoom around the cursor keeps the point under it in place.
struct TRenderView {
    double FirstTrace = 0;
    double TraceSpan = 0;
    double FirstSample = 0;
    double SampleSpan = 0;
    bool operator==(const TRenderView&) const = default;
};

// The whole profile of traceCount x sampleCount.
TRenderView WholeView(std::uint32_t traceCount, std::uint32_t sampleCount);
// The view kept inside the profile: spans of at least one trace and one sample, no larger than
// the profile, and moved (not shrunk) back inside when it was panned past an edge.
TRenderView ClampView(TRenderView view, std::uint32_t traceCount, std::uint32_t sampleCount);

// How the picture maps amplitudes to colour. The shown amplitude is Gain x a, and the scale is
// symmetric: amplitudes at or beyond +-ClipLevel take the ends of the colour table.
struct TRenderStyle {
    double Gain = 1.0;
    float ClipLevel = 1.0f;  // > 0; see ClipLevelOf
    TPalette Palette = TPalette::Grey;
};

// Which cells of the matrix one pixel of a picture covers along one axis: [First, End). A pixel
// narrower than a cell shows the cell under its centre; a wider one covers every cell whose
// index lies in its stretch, so that each cell falls into exactly one pixel.
struct TCellRange {
    std::int64_t First = 0;
    std::int64_t End = 0;
};
TCellRange PixelCells(double first, double span, int pixels, int pixel);
// The pixel that shows cell (the middle one where a cell spans several), or -1 when the cell is
// outside the view.
int CellPixel(double first, double span, int pixels, std::int64_t cell);

}  // namespace trelvanox
