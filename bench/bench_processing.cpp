// The processing chain over the maximal radargram (200000 traces x 512 samples), each step alone
// and the whole chain with the envelope, measured against one plain pass over the same samples (a
// count of the positive ones, on one thread) in the same run. Every run reads the model's samples
// into a fresh buffer and processes it there, as the view, render --process and export-segy
// --process do; the write into the file (process, "Применить к файлу") is not counted. Goals:
// the whole chain within 2 s; each step but the envelope within 3x the plain pass; a zoomed view
// of 20000 traces processed and drawn within 100 ms once the means over the whole profile are
// kept; a plain render by the batch tool within 2x its info of the same file, the two
// interleaved in one run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench_file.h"
#include "cli/cli.h"
#include "model/radargram.h"
#include "model/radargram_io.h"
#include "processing/chain_runner.h"
#include "processing/step_registry.h"
#include "render/amplitude_scale.h"
#include "render/bscan_renderer.h"

namespace {

using trelvanox::bench::TSummaryReporter;

constexpr double kChainTargetSeconds = 2.0;
constexpr double kStepRatioTarget = 3.0;
constexpr double kZoomTargetMs = 100.0;
constexpr double kRenderInfoTarget = 2.0;

struct TBenchContext {
    std::unique_ptr<trelvanox::TRadargram> Model = std::make_unique<trelvanox::TRadargram>();
    std::filesystem::path File;
    double InfoSeconds = 0;
    double RenderSeconds = 0;
};

// recycled: the buffer of one run is filled by the next, as a view that processes again reuses
// it; otherwise each run takes fresh memory, as a single export does.
void BenchChain(benchmark::State& state, TBenchContext& ctx, std::string chainText, bool recycled) {
    const trelvanox::TProcessingChain chain = trelvanox::ParseChain(chainText);
    trelvanox::TProcessingCache cache;
    // One run untimed leaves the buffer the timed runs reuse, its pages touched.
    if (recycled)
        cache.Recycle(std::move(
            *trelvanox::ProcessTraces(*ctx.Model, chain, 0, trelvanox::kMaxTraces, {}, &cache)));
    for (auto _ : state) {
        auto processed = trelvanox::ProcessTraces(*ctx.Model, chain, 0, trelvanox::kMaxTraces, {},
                                                  recycled ? &cache : nullptr);
        benchmark::DoNotOptimize(processed->Values.Data());
        if (recycled) cache.Recycle(std::move(*processed));
    }
    trelvanox::bench::SetSampleCounters(state,
                                        double{trelvanox::kMaxTraces} * trelvanox::kMaxSamples);
}

// A view of 20000 traces: processed (the means of the background removal kept from the first
// run, as the view keeps them) and drawn.
void BenchZoomedView(benchmark::State& state, TBenchContext& ctx, std::string chainText) {
    const trelvanox::TProcessingChain chain = trelvanox::ParseChain(chainText);
    const trelvanox::TRenderView view{90000, 20000, 0, 512};
    trelvanox::TProcessingCache cache;
    trelvanox::ProcessTraces(*ctx.Model, chain, 90000, 110000, {}, &cache);
    trelvanox::TRgbImage image(1600, 900);
    for (auto _ : state) {
        auto processed = trelvanox::ProcessTraces(*ctx.Model, chain, 90000, 110000, {}, &cache);
        trelvanox::TSampleGrid grid;
        grid.Data = processed->Rows();
        grid.Stride = processed->SampleCount;
        grid.FirstTrace = processed->First;
        grid.TraceEnd = processed->First + processed->Count;
        grid.SampleCount = processed->SampleCount;
        trelvanox::TRenderStyle style;
        style.ClipLevel = trelvanox::ClipLevelOf(grid);
        trelvanox::RenderBScan(grid, view, style, image);
        benchmark::DoNotOptimize(image.Pixels.data());
        cache.Recycle(std::move(*processed));
    }
}

int RunTool(const std::vector<std::string>& args) {
    std::vector<std::string_view> views(args.begin(), args.end());
    std::ostringstream out;
    std::ostringstream err;
    return trelvanox::RunCli(views, out, err);
}

// info and a plain render of the same file by the batch tool, in turns, each timed alone.
void BenchRenderAgainstInfo(benchmark::State& state, TBenchContext& ctx) {
    const std::string file = ctx.File.string();
    const std::string picture = (ctx.File.parent_path() / "bench_processing.png").string();
    double info = 0;
    double render = 0;
    for (auto _ : state) {
        auto start = trelvanox::bench::Clock::now();
        if (RunTool({"info", file}) != 0) state.SkipWithError("info failed");
        info += trelvanox::bench::SecondsSince(start);
        start = trelvanox::bench::Clock::now();
        if (RunTool({"render", file, picture}) != 0) state.SkipWithError("render failed");
        render += trelvanox::bench::SecondsSince(start);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["info_ms"] = info / n * 1e3;
    state.counters["render_ms"] = render / n * 1e3;
    state.counters["ratio"] = render / info;
    if (ctx.InfoSeconds == 0 || render / info < ctx.RenderSeconds / ctx.InfoSeconds) {
        ctx.InfoSeconds = info / n;
        ctx.RenderSeconds = render / n;
    }
    std::filesystem::remove(picture);
}

struct TStepCase {
    const char* Name;
    const char* Chain;
    bool RatioGoal;  // the envelope has none
};

std::vector<TStepCase> StepCases() {
    std::vector<TStepCase> cases = {
        {"Step/zero", "zero=12", true},  {"Step/dewow", "dewow=15", true},
        {"Step/bgr:all", "bgr=0", true}, {"Step/bgr:51", "bgr=51", true},
        {"Step/tpow", "tpow=1.5", true}, {"Step/agc", "agc=51", true},
    };
    if (trelvanox::FindProcessingStep("envelope"))
        cases.push_back({"Step/envelope", "envelope", false});
    return cases;
}

constexpr const char* kChainWithoutEnvelope = "zero=12,dewow=15,bgr=0,tpow=1.5,agc=51";

std::string WholeChain() {
    return std::string(kChainWithoutEnvelope) +
           (trelvanox::FindProcessingStep("envelope") ? ",envelope" : "");
}

void PrintSummary(const TSummaryReporter& reporter, const TBenchContext& ctx) {
    std::printf("\nsummary (wall clock, fastest repetition), 200000 x 512 samples:\n");
    const auto plain = reporter.Seconds("PlainPass");
    if (!plain) {
        std::printf("  the plain pass did not run: no ratios\n");
        return;
    }
    const auto plainCpu = reporter.CpuSeconds("PlainPass");
    std::printf("  %-34s %8.1f ms\n", "plain pass (read every sample once)", *plain * 1e3);
    std::printf(
        "  (cpu: the processor time of every thread, which a loaded machine disturbs "
        "less than the wall clock)\n");
    for (const TStepCase& c : StepCases()) {
        const auto seconds = reporter.Seconds(c.Name);
        if (!seconds) continue;
        std::printf("  %-34s %8.1f ms  %5.2fx plain", c.Chain, *seconds * 1e3, *seconds / *plain);
        if (c.RatioGoal)
            std::printf("  [within %.0fx: %s]", kStepRatioTarget,
                        *seconds / *plain <= kStepRatioTarget ? "met" : "MISSED");
        if (const auto cpu = reporter.CpuSeconds(c.Name); cpu && plainCpu)
            std::printf("  cpu %.1f ms, %.2fx", *cpu * 1e3, *cpu / *plainCpu);
        std::printf("\n");
    }
    const auto cpuOf = [&](const char* name) {
        if (const auto cpu = reporter.CpuSeconds(name)) std::printf("  cpu %.1f ms", *cpu * 1e3);
        std::printf("\n");
    };
    if (const auto chain = reporter.Seconds("Chain/whole")) {
        std::printf("  %-34s %8.1f ms  %5.2fx plain  [within %.0f s: %s]", WholeChain().c_str(),
                    *chain * 1e3, *chain / *plain, kChainTargetSeconds,
                    *chain <= kChainTargetSeconds ? "met" : "MISSED");
        cpuOf("Chain/whole");
    }
    if (const auto fresh = reporter.Seconds("Chain/whole/fresh")) {
        std::printf("  %-34s %8.1f ms  %5.2fx plain  [within %.0f s: %s]",
                    "the same into fresh memory", *fresh * 1e3, *fresh / *plain,
                    kChainTargetSeconds, *fresh <= kChainTargetSeconds ? "met" : "MISSED");
        cpuOf("Chain/whole/fresh");
    }
    if (const auto zoom = reporter.Seconds("ZoomedView/20000")) {
        std::printf("  %-34s %8.1f ms  [within %.0f ms: %s]", "zoomed view, 20000 traces, drawn",
                    *zoom * 1e3, kZoomTargetMs, *zoom * 1e3 <= kZoomTargetMs ? "met" : "MISSED");
        cpuOf("ZoomedView/20000");
    }
    if (const auto zoom = reporter.Seconds("ZoomedView/20000/no-envelope")) {
        std::printf("  %-34s %8.1f ms  [within %.0f ms: %s]", "the same without the envelope",
                    *zoom * 1e3, kZoomTargetMs, *zoom * 1e3 <= kZoomTargetMs ? "met" : "MISSED");
        cpuOf("ZoomedView/20000/no-envelope");
    }
    if (ctx.InfoSeconds > 0) {
        const double ratio = ctx.RenderSeconds / ctx.InfoSeconds;
        std::printf("  %-34s %8.1f ms against info %.1f ms: %4.2fx  [within %.0fx: %s]\n",
                    "batch tool render, no steps", ctx.RenderSeconds * 1e3, ctx.InfoSeconds * 1e3,
                    ratio, kRenderInfoTarget, ratio <= kRenderInfoTarget ? "met" : "MISSED");
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    TBenchContext ctx;
    ctx.File = trelvanox::bench::BenchFilePath();
    try {
        trelvanox::bench::EnsureBenchFile(ctx.File);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cannot prepare %s: %s\n", ctx.File.c_str(), e.what());
        return 1;
    }
    if (trelvanox::ReadRadargram(*ctx.Model, ctx.File, trelvanox::TRadarLayout::Gpr2).Code != 0) {
        std::fprintf(stderr, "ReadRadargram failed on %s\n", ctx.File.c_str());
        return 1;
    }

    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("PlainPass", trelvanox::bench::BenchPlainPass,
                                 std::cref(*ctx.Model))
        ->Unit(ms)
        ->MeasureProcessCPUTime();
    for (const TStepCase& c : StepCases())
        benchmark::RegisterBenchmark(c.Name, BenchChain, std::ref(ctx), std::string(c.Chain), true)
            ->Unit(ms)
            ->MeasureProcessCPUTime()
            ->MeasureProcessCPUTime()
            ->UseRealTime();
    benchmark::RegisterBenchmark("Chain/whole", BenchChain, std::ref(ctx), WholeChain(), true)
        ->Unit(ms)
        ->MeasureProcessCPUTime()
        ->UseRealTime();
    benchmark::RegisterBenchmark("Chain/whole/fresh", BenchChain, std::ref(ctx), WholeChain(),
                                 false)
        ->Unit(ms)
        ->MeasureProcessCPUTime()
        ->UseRealTime();
    benchmark::RegisterBenchmark("ZoomedView/20000", BenchZoomedView, std::ref(ctx), WholeChain())
        ->Unit(ms)
        ->MeasureProcessCPUTime()
        ->UseRealTime();
    if (trelvanox::FindProcessingStep("envelope"))
        benchmark::RegisterBenchmark("ZoomedView/20000/no-envelope", BenchZoomedView, std::ref(ctx),
                                     std::string(kChainWithoutEnvelope))
            ->Unit(ms)
            ->UseRealTime();
    benchmark::RegisterBenchmark("Cli/render-vs-info", BenchRenderAgainstInfo, std::ref(ctx))
        ->Unit(ms)
        ->UseRealTime()
        ->Iterations(3);

    TSummaryReporter reporter(trelvanox::bench::ConsoleOptions());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary(reporter, ctx);
    benchmark::Shutdown();
    return 0;
}
