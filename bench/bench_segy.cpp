// The SEG-Y export of a maximal radargram (200000 traces x 512 samples, about 418 MB, giving a
// SEG-Y file of about 458 MB and its labels file) measured against copying the radargram file as
// a careful copying program does (read, write into a new file, fsync). The export writes a
// little more than it reads and also syncs, so a copy is the fair floor; the target is 3x.
//
// The model is read once before any timing, as the program holds it when the user exports. The
// export's files and the copy go beside the radargram (on its filesystem) and are removed
// outside the timing; each case runs a few iterations and the summary takes the fastest
// repetition, since fsync on a shared machine scatters.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <system_error>
#include <utility>

#include "bench_file.h"
#include "model/radargram.h"
#include "model/radargram_io.h"
#include "segy/segy_export.h"
#include "segy/segy_labels.h"

namespace {

namespace fs = std::filesystem;
using trelvanox::bench::TFastestReporter;

constexpr int kIterations = 3;
constexpr double kTarget = 3.0;

struct TBenchContext {
    fs::path Path;
    fs::path CopyPath;
    fs::path ExportPath;
    std::uint64_t FileSize = 0;
    trelvanox::TRadargram Model;
};

void RemoveOutputs(const TBenchContext& ctx) {
    std::error_code ec;
    for (const fs::path& path :
         {ctx.CopyPath, ctx.ExportPath, trelvanox::SegyLabelsPath(ctx.ExportPath)})
        fs::remove(path, ec);
}

void BenchPlainCopy(benchmark::State& state, TBenchContext& ctx) {
    for (auto _ : state) {
        state.PauseTiming();
        RemoveOutputs(ctx);
        state.ResumeTiming();
        if (!trelvanox::bench::PlainCopy(ctx.Path, ctx.CopyPath, ctx.FileSize)) {
            state.SkipWithError("plain copy failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(ctx.FileSize));
}

void BenchExportSegy(benchmark::State& state, TBenchContext& ctx) {
    trelvanox::TSegyExportOptions options;
    options.Date = "2026-01-01";
    for (auto _ : state) {
        state.PauseTiming();
        RemoveOutputs(ctx);
        state.ResumeTiming();
        try {
            trelvanox::ExportSegy(ctx.Model, ctx.ExportPath, options);
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
    }
    std::error_code ec;
    state.counters["segy_MiB"] = static_cast<double>(fs::file_size(ctx.ExportPath, ec)) / 1048576;
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(ctx.FileSize));
}

void PrintSummary(const TFastestReporter& reporter, const TBenchContext& ctx) {
    std::printf("\nsummary (mean of a run's iterations, fastest repetition), %s, %.1f MiB:\n",
                ctx.Path.c_str(), static_cast<double>(ctx.FileSize) / 1048576);
    const auto copy = reporter.Seconds("PlainCopy");
    const auto segy = reporter.Seconds("ExportSegy");
    if (!copy || !segy) {
        std::printf("  the copy or the export did not run: no ratio\n");
        return;
    }
    const double ratio = *segy / *copy;
    std::printf("  %-28s %8.1f ms\n", "copy with fsync", *copy * 1e3);
    std::printf("  %-28s %8.1f ms  %5.2fx copy  [within %.0fx: %s]\n", "SEG-Y export with labels",
                *segy * 1e3, ratio, kTarget, ratio <= kTarget ? "met" : "MISSED");
    std::printf("  %-28s %8.1f MiB\n", "SEG-Y file", reporter.Counter("ExportSegy", "segy_MiB"));
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    TBenchContext ctx;
    ctx.Path = trelvanox::bench::BenchFilePath();
    ctx.CopyPath = ctx.Path.parent_path() / "trelvanox_bench_copy.bin";
    ctx.ExportPath = ctx.Path.parent_path() / "trelvanox_bench_export.sgy";
    try {
        trelvanox::bench::EnsureBenchFile(ctx.Path);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cannot prepare %s: %s\n", ctx.Path.c_str(), e.what());
        return 1;
    }
    ctx.FileSize = fs::file_size(ctx.Path);
    RemoveOutputs(ctx);
    if (trelvanox::ReadRadargram(ctx.Model, ctx.Path, trelvanox::TRadarLayout::Gpr2).Code != 0) {
        std::fprintf(stderr, "cannot read %s\n", ctx.Path.c_str());
        return 1;
    }

    using TBench = void (*)(benchmark::State&, TBenchContext&);
    const std::pair<const char*, TBench> benches[] = {{"PlainCopy", BenchPlainCopy},
                                                      {"ExportSegy", BenchExportSegy}};
    for (const auto& [name, bench] : benches)
        benchmark::RegisterBenchmark(name, bench, std::ref(ctx))
            ->Unit(benchmark::kMillisecond)
            ->Iterations(kIterations);

    TFastestReporter reporter(trelvanox::bench::ConsoleOptions());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary(reporter, ctx);
    benchmark::Shutdown();
    RemoveOutputs(ctx);
    return 0;
}
