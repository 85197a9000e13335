// Drawing the maximal radargram (200000 traces x 512 samples) into a screen-sized picture, the
// whole profile and zoomed views, measured against one plain pass over the same samples (a count
// of the positive ones, on one thread, a loop the compiler vectorises) in the same run. The
// renderer spreads its columns over the cores, so the times are wall-clock times; the goal is 100
// ms a picture, which keeps a redraw after a change and every step of a pan or zoom within a frame
// or a few.
//
// A view with labels draws, after the picture, the label lines of 6000 labels spread over the
// profile: thinned to at most one line per pixel column, so that they cost a few passes over
// the columns whatever their number.
//
// The renderer keeps no copy of the matrix and no overview pyramid: each picture reads the
// samples it covers straight from the model, so its extra memory is the picture and one column
// of 512 floats per thread.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench_file.h"
#include "model/radargram.h"
#include "model/radargram_io.h"
#include "render/amplitude_scale.h"
#include "render/bscan_renderer.h"
#include "render/label_marks.h"

namespace {

using trelvanox::TRenderView;
using trelvanox::bench::TSummaryReporter;

constexpr double kTargetMs = 100.0;
constexpr int kWidth = 1600;
constexpr int kHeight = 900;

constexpr std::uint32_t kLabels = 6000;

struct TBenchContext {
    std::unique_ptr<trelvanox::TRadargram> Model = std::make_unique<trelvanox::TRadargram>();
    trelvanox::TRenderStyle Style;
    std::vector<trelvanox::TLabelMark> Marks;
};

// kLabels labels evenly over the maximal profile, each with a text, in trace order.
std::vector<trelvanox::TLabelMark> SpreadMarks() {
    std::vector<trelvanox::TLabelMark> marks;
    for (std::uint32_t k = 0; k < kLabels; ++k)
        marks.push_back({k * (trelvanox::kMaxTraces / kLabels), 0x0000ff, "ПК" + std::to_string(k),
                         static_cast<int>(k + 1)});
    return marks;
}

void BenchRender(benchmark::State& state, TBenchContext& ctx, TRenderView view, unsigned threads) {
    trelvanox::TRgbImage image(kWidth, kHeight);
    for (auto _ : state) {
        trelvanox::RenderBScan(*ctx.Model, view, ctx.Style, image, threads);
        benchmark::DoNotOptimize(image.Pixels.data());
        benchmark::ClobberMemory();
    }
    trelvanox::bench::SetSampleCounters(state, view.TraceSpan * view.SampleSpan);
}

// The picture and its label lines, as the view draws them.
void BenchRenderWithLabels(benchmark::State& state, TBenchContext& ctx, TRenderView view) {
    trelvanox::TRgbImage image(kWidth, kHeight);
    for (auto _ : state) {
        trelvanox::RenderBScan(*ctx.Model, view, ctx.Style, image);
        trelvanox::DrawLabelLines(image, view, ctx.Marks);
        benchmark::DoNotOptimize(image.Pixels.data());
        benchmark::ClobberMemory();
    }
    state.counters["lines"] =
        static_cast<double>(trelvanox::PlaceLabelLines(ctx.Marks, view, kWidth).Lines.size());
    trelvanox::bench::SetSampleCounters(state, view.TraceSpan * view.SampleSpan);
}

// The label lines alone, over a picture already drawn: what 6000 labels add to a whole view.
void BenchLabelLines(benchmark::State& state, TBenchContext& ctx) {
    trelvanox::TRgbImage image(kWidth, kHeight);
    const TRenderView whole{0, trelvanox::kMaxTraces, 0, trelvanox::kMaxSamples};
    for (auto _ : state) {
        trelvanox::DrawLabelLines(image, whole, ctx.Marks);
        benchmark::DoNotOptimize(image.Pixels.data());
        benchmark::ClobberMemory();
    }
}

void BenchClipLevel(benchmark::State& state, TBenchContext& ctx) {
    for (auto _ : state) benchmark::DoNotOptimize(trelvanox::ClipLevelOf(*ctx.Model));
}

struct TCase {
    const char* Name;
    const char* Label;
    TRenderView View;
    unsigned Threads;  // 0: every core
};

const TCase kCases[] = {
    {"Render/whole", "whole profile, all cores", {0, 200000, 0, 512}, 0},
    {"Render/whole/threads:1", "whole profile, one thread", {0, 200000, 0, 512}, 1},
    {"Render/zoom:10", "20000 traces x 512 (zoom 10)", {90000, 20000, 0, 512}, 0},
    {"Render/zoom:100", "2000 traces x 256 samples", {99000, 2000, 128, 256}, 0},
    {"Render/zoom:1000", "200 traces x 64 samples", {123400, 200, 200, 64}, 0},
};

const TCase kLabelCases[] = {
    {"Labels/whole", "whole profile, 6000 labels", {0, 200000, 0, 512}, 0},
    {"Labels/zoom:10", "20000 traces, 600 labels", {90000, 20000, 0, 512}, 0},
    {"Labels/zoom:1000", "200 traces, 6 labels", {123400, 200, 200, 64}, 0},
};

void PrintSummary(const TSummaryReporter& reporter) {
    std::printf("\nsummary (wall clock, fastest repetition), 200000 x 512 samples into %d x %d:\n",
                kWidth, kHeight);
    const auto plain = reporter.Seconds("PlainPass");
    if (!plain) {
        std::printf("  the plain pass did not run: no ratios\n");
        return;
    }
    std::printf("  %-36s %8.1f ms\n", "plain pass (read every sample once)", *plain * 1e3);
    for (const TCase& c : kCases) {
        const auto seconds = reporter.Seconds(c.Name);
        if (!seconds) {
            std::printf("  %-36s did not run\n", c.Label);
            continue;
        }
        std::printf("  %-36s %8.1f ms  %5.2fx plain  [within %.0f ms: %s]\n", c.Label,
                    *seconds * 1e3, *seconds / *plain, kTargetMs,
                    *seconds * 1e3 <= kTargetMs ? "met" : "MISSED");
    }
    for (const TCase& c : kLabelCases) {
        const auto seconds = reporter.Seconds(c.Name);
        if (!seconds) continue;
        std::printf("  %-36s %8.1f ms  %5.0f lines  [within %.0f ms: %s]\n", c.Label,
                    *seconds * 1e3,
                    static_cast<double>(
                        trelvanox::PlaceLabelLines(SpreadMarks(), c.View, kWidth).Lines.size()),
                    kTargetMs, *seconds * 1e3 <= kTargetMs ? "met" : "MISSED");
    }
    if (const auto lines = reporter.Seconds("LabelLines"))
        std::printf("  %-36s %8.2f ms\n", "6000 label lines alone, whole view", *lines * 1e3);
    if (const auto scale = reporter.Seconds("ClipLevel"))
        std::printf("  %-36s %8.1f ms (once per change of the file)\n", "98th percentile scale",
                    *scale * 1e3);
    std::printf("  extra memory: the picture (%.1f MB); no copy of the matrix, no pyramid\n",
                kWidth * kHeight * 3 / 1e6);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    TBenchContext ctx;
    const auto path = trelvanox::bench::BenchFilePath();
    try {
        trelvanox::bench::EnsureBenchFile(path);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cannot prepare %s: %s\n", path.c_str(), e.what());
        return 1;
    }
    if (trelvanox::ReadRadargram(*ctx.Model, path, trelvanox::TRadarLayout::Gpr2).Code != 0) {
        std::fprintf(stderr, "ReadRadargram failed on %s\n", path.c_str());
        return 1;
    }
    ctx.Style.ClipLevel = trelvanox::ClipLevelOf(*ctx.Model);
    ctx.Marks = SpreadMarks();

    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("PlainPass", trelvanox::bench::BenchPlainPass,
                                 std::cref(*ctx.Model))
        ->Unit(ms);
    for (const TCase& c : kCases)
        benchmark::RegisterBenchmark(c.Name, BenchRender, std::ref(ctx), c.View, c.Threads)
            ->Unit(ms)
            ->UseRealTime();
    for (const TCase& c : kLabelCases)
        benchmark::RegisterBenchmark(c.Name, BenchRenderWithLabels, std::ref(ctx), c.View)
            ->Unit(ms)
            ->UseRealTime();
    benchmark::RegisterBenchmark("LabelLines", BenchLabelLines, std::ref(ctx))->Unit(ms);
    benchmark::RegisterBenchmark("ClipLevel", BenchClipLevel, std::ref(ctx))->Unit(ms);

    TSummaryReporter reporter(trelvanox::bench::ConsoleOptions());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary(reporter);
    benchmark::Shutdown();
    return 0;
}
