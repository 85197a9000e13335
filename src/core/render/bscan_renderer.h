#pragma once

#include "model/radargram.h"
#include "render/render_view.h"
#include "render/rgb_image.h"
#include "render/sample_grid.h"

namespace trelvanox {

// Draws the view of the profile into the whole of image (its size is the picture's size): traces
// across, samples down. Each pixel shows, of the samples it covers, the one of largest |a| with
// its sign, so that a one-trace spike stays visible however far the picture is zoomed out. The
// work is split by columns over up to threads threads (0: one per core); small pictures use one.
// Pixels beyond the profile, or beyond the grid's traces, show the colour of zero.
void RenderBScan(const TSampleGrid& grid, const TRenderView& view, const TRenderStyle& style,
                 TRgbImage& image, unsigned threads = 0);
// The model's samples.
void RenderBScan(const TRadargram& model, const TRenderView& view, const TRenderStyle& style,
                 TRgbImage& image, unsigned threads = 0);

// The same into a new picture of width x height.
TRgbImage RenderBScan(const TSampleGrid& grid, const TRenderView& view, const TRenderStyle& style,
                      int width, int height, unsigned threads = 0);
TRgbImage RenderBScan(const TRadargram& model, const TRenderView& view, const TRenderStyle& style,
                      int width, int height, unsigned threads = 0);

}  // namespace trelvanox
