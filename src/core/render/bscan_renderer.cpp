#include "render/bscan_renderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <thread>
#include <vector>

namespace trelvanox {

namespace {

// Below this many covered samples a picture is drawn on the calling thread alone: starting
// threads would cost more than it saves.
constexpr std::size_t kSamplesPerThread = std::size_t{1} << 18;

// What every column of one picture shares.
struct TRenderJob {
    const TSampleGrid& Grid;
    const TRenderView& View;
    const TColourTable& Table;
    float Scale;                   // colour-table steps per unit of amplitude
    std::vector<TCellRange> Rows;  // the samples of each pixel row, inside the profile
    std::int64_t SampleFirst;      // the samples any row covers
    std::int64_t SampleEnd;
    TRgbImage& Image;
};

// The colour-table entry of amplitude a: 0 at -ClipLevel / Gain and below, 255 at +ClipLevel /
// Gain and above, 128 for zero (and for a sample that is not a number).
int IndexOf(float a, float scale) {
    const float at = a * scale + 128.0f;
    if (std::isnan(at)) return 128;
    return static_cast<int>(std::clamp(at, 0.0f, 255.0f));
}

// The sample of largest |a| (a NaN never wins, so it shows only where nothing else is).
float Peak(const float* samples, std::int64_t first, std::int64_t end) {
    float peak = samples[first];
    for (std::int64_t s = first + 1; s < end; ++s)
        if (std::isnan(peak) || std::fabs(samples[s]) > std::fabs(peak)) peak = samples[s];
    return peak;
}

void MergePeaks(const float* row, float* peaks, std::int64_t first, std::int64_t end) {
    for (std::int64_t s = first; s < end; ++s) {
        const float a = row[s];
        peaks[s] = std::isnan(peaks[s]) || std::fabs(a) > std::fabs(peaks[s]) ? a : peaks[s];
    }
}

void RenderColumns(const TRenderJob& job, int firstColumn, int endColumn) {
    const TRgbImage& image = job.Image;
    const TRgb zero = job.Table[128];
    std::array<float, kMaxSamples> peaks{};
    for (int x = firstColumn; x < endColumn; ++x) {
        TCellRange traces = PixelCells(job.View.FirstTrace, job.View.TraceSpan, image.Width, x);
        traces.First = std::max(traces.First, job.Grid.FirstTrace);
        traces.End = std::min(traces.End, job.Grid.TraceEnd);
        const float* column = nullptr;
        if (traces.First < traces.End && job.SampleFirst < job.SampleEnd) {
            const float* first = job.Grid.Row(traces.First);
            column = first;
            if (traces.End - traces.First > 1) {
                std::copy(first + job.SampleFirst, first + job.SampleEnd,
                          peaks.begin() + job.SampleFirst);
                for (std::int64_t t = traces.First + 1; t < traces.End; ++t)
                    MergePeaks(job.Grid.Row(t), peaks.data(), job.SampleFirst, job.SampleEnd);
                column = peaks.data();
            }
        }
        for (int y = 0; y < image.Height; ++y) {
            const TCellRange& samples = job.Rows[y];
            const bool inside = column && samples.First < samples.End;
            job.Image.Set(
                x, y,
                inside ? job.Table[IndexOf(Peak(column, samples.First, samples.End), job.Scale)]
                       : zero);
        }
    }
}

float ScaleOf(const TRenderStyle& style) {
    const float clip = style.ClipLevel > 0 ? style.ClipLevel : 1.0f;
    return static_cast<float>(style.Gain * 127.5 / clip);
}

}  // namespace

void RenderBScan(const TSampleGrid& grid, const TRenderView& view, const TRenderStyle& style,
                 TRgbImage& image, unsigned threads) {
    if (image.Width <= 0 || image.Height <= 0) return;
    const std::int64_t traceCount = grid.TraceEnd - grid.FirstTrace;
    const std::int64_t sampleCount = grid.SampleCount;
    TRenderJob job{grid, view, ColourTable(style.Palette), ScaleOf(style), {}, sampleCount,
                   0,    image};
    job.Rows.reserve(image.Height);
    for (int y = 0; y < image.Height; ++y) {
        TCellRange rows = PixelCells(view.FirstSample, view.SampleSpan, image.Height, y);
        rows.First = std::max<std::int64_t>(rows.First, 0);
        rows.End = std::min(rows.End, sampleCount);
        if (rows.First < rows.End) {
            job.SampleFirst = std::min(job.SampleFirst, rows.First);
            job.SampleEnd = std::max(job.SampleEnd, rows.End);
        }
        job.Rows.push_back(rows);
    }
    job.SampleFirst = std::min(job.SampleFirst, job.SampleEnd);

    // Every covered sample is read once; the rows of the picture cost little besides.
    const double traceShare = std::min<double>(view.TraceSpan, static_cast<double>(traceCount));
    const auto work = static_cast<std::size_t>(
        std::max(traceShare, static_cast<double>(image.Width)) *
        static_cast<double>(std::max<std::int64_t>(job.SampleEnd - job.SampleFirst, 1)));
    unsigned parts = threads ? threads : std::max(1u, std::thread::hardware_concurrency());
    parts = static_cast<unsigned>(
        std::min<std::size_t>({parts, std::max<std::size_t>(work / kSamplesPerThread, 1),
                               static_cast<std::size_t>(image.Width)}));

    std::vector<std::jthread> helpers;
    helpers.reserve(parts - 1);
    const auto edge = [&](unsigned part) {
        return static_cast<int>(std::int64_t{image.Width} * part / parts);
    };
    for (unsigned part = 1; part < parts; ++part)
        helpers.emplace_back(
            [&job, from = edge(part), to = edge(part + 1)] { RenderColumns(job, from, to); });
    RenderColumns(job, 0, edge(1));
}

void RenderBScan(const TRadargram& model, const TRenderView& view, const TRenderStyle& style,
                 TRgbImage& image, unsigned threads) {
    // The matrix's memory is set up on first use; that happens here, not in the helpers at once.
    RenderBScan(ModelGrid(model), view, style, image, threads);
}

TRgbImage RenderBScan(const TSampleGrid& grid, const TRenderView& view, const TRenderStyle& style,
                      int width, int height, unsigned threads) {
    TRgbImage image(std::max(width, 0), std::max(height, 0));
    RenderBScan(grid, view, style, image, threads);
    return image;
}

TRgbImage RenderBScan(const TRadargram& model, const TRenderView& view, const TRenderStyle& style,
                      int width, int height, unsigned threads) {
    TRgbImage image(std::max(width, 0), std::max(height, 0));
    RenderBScan(model, view, style, image, threads);
    return image;
}

}  // namespace trelvanox
