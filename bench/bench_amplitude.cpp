// The amplitude operations over a maximal radargram (200000 traces x 512 samples), each measured
// against a plain loop that reads and writes every sample of the same matrix once, in the same
// run. The operations run through their public functions, progress callback included, on the
// samples of the generated test file that the file benchmark uses too; the file is read once.
//
// The operations change the samples they work on, so repeated runs see changed data; none of the
// loops branches on the values. The trace zeroing puts the file's samples back after each run,
// outside the timing, so that the others never work on an all-zero matrix. The gain runs twice:
// with a factor that is a float (2), whose products take one vector multiplication, and with one
// that is not (1.1), whose products need the extended-precision multiplication, which has no
// vector form.
//
// On a shared machine the times scatter, more than the differences measured here. So the
// repetitions are interleaved at random by default (so that a busy spell hits all benchmarks
// alike), and the summary compares wall-clock times, the fastest repetition of each: interference
// only ever adds time, and a CPU time would add up the threads of a parallel pass.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "amplitude/amplitude_operations.h"
#include "bench_file.h"
#include "model/radargram.h"
#include "model/radargram_io.h"

namespace {

namespace fs = std::filesystem;
using trelvanox::bench::BenchFilePath;
using trelvanox::bench::ConsoleOptions;
using trelvanox::bench::EnsureBenchFile;
using trelvanox::bench::TSummaryReporter;

constexpr double kTargetRatio = 1.5;

struct TBenchContext {
    std::unique_ptr<trelvanox::TRadargram> Model = std::make_unique<trelvanox::TRadargram>();
    std::vector<float> FileSamples;  // the samples as read, trace after trace
    std::uint64_t ProgressCalls = 0;
};

void KeepSamples(TBenchContext& ctx) {
    const trelvanox::TRadargram& model = *ctx.Model;
    for (std::uint32_t t = 0; t < model.Header().TraceCount; ++t) {
        const auto samples = model.Samples(t);
        ctx.FileSamples.insert(ctx.FileSamples.end(), samples.begin(), samples.end());
    }
}

void RestoreSamples(TBenchContext& ctx) {
    trelvanox::TRadargram& model = *ctx.Model;
    auto from = ctx.FileSamples.begin();
    for (std::uint32_t t = 0; t < model.Header().TraceCount; ++t) {
        const auto samples = model.Samples(t);
        std::copy_n(from, samples.size(), samples.begin());
        from += static_cast<std::ptrdiff_t>(samples.size());
    }
}

// What a dialog would do with each position: keep it.
trelvanox::TProgress CountingProgress(TBenchContext& ctx) {
    return [&ctx](std::uint32_t) { ++ctx.ProgressCalls; };
}

void SetCounters(benchmark::State& state) {
    const std::int64_t samples = std::int64_t{trelvanox::kMaxTraces} * trelvanox::kMaxSamples;
    state.SetItemsProcessed(state.iterations() * samples);
    state.SetBytesProcessed(state.iterations() * samples * std::int64_t{sizeof(float)});
}

// The reference: every sample read and written once, in the simplest loop.
void BenchPlainLoop(benchmark::State& state, TBenchContext& ctx) {
    trelvanox::TRadargram& model = *ctx.Model;
    for (auto _ : state) {
        for (std::uint32_t t = 0; t < model.Header().TraceCount; ++t) {
            for (float& x : model.Samples(t)) x = -x;
        }
        benchmark::ClobberMemory();
    }
    SetCounters(state);
}

void BenchGain(benchmark::State& state, TBenchContext& ctx, const char* factor) {
    trelvanox::TRadargram& model = *ctx.Model;
    const auto window = trelvanox::WholeRadargramWindow(model.Header());
    const trelvanox::TGainTexts texts{factor, trelvanox::TGainMode::Between, "100", "20000"};
    const auto progress = CountingProgress(ctx);
    for (auto _ : state) {
        trelvanox::ApplyGain(model, window, texts, progress);
        benchmark::ClobberMemory();
    }
    SetCounters(state);
}

void BenchClip(benchmark::State& state, TBenchContext& ctx) {
    const auto progress = CountingProgress(ctx);
    for (auto _ : state) {
        trelvanox::ClipAmplitudes(*ctx.Model, "20000", progress);
        benchmark::ClobberMemory();
    }
    SetCounters(state);
}

void BenchSilence(benchmark::State& state, TBenchContext& ctx) {
    const auto progress = CountingProgress(ctx);
    for (auto _ : state) {
        trelvanox::SilenceAmplitudes(*ctx.Model, "50", progress);
        benchmark::ClobberMemory();
    }
    SetCounters(state);
}

void BenchSearch(benchmark::State& state, TBenchContext& ctx) {
    const auto progress = CountingProgress(ctx);
    for (auto _ : state) {
        const auto found = trelvanox::FindExtremes(*ctx.Model, progress);
        benchmark::DoNotOptimize(found);
    }
    SetCounters(state);
}

void BenchZeroTraces(benchmark::State& state, TBenchContext& ctx) {
    const auto progress = CountingProgress(ctx);
    for (auto _ : state) {
        trelvanox::ZeroTraces(*ctx.Model, "0", "199999", progress);
        benchmark::ClobberMemory();
        state.PauseTiming();
        RestoreSamples(ctx);
        state.ResumeTiming();
    }
    SetCounters(state);
}

struct TSummaryLine {
    const char* Name;   // the benchmark's name
    const char* Label;  // what the summary calls it
};

const TSummaryLine kSummary[] = {
    {"Gain/factor:1.1", "gain, factor 1.1 (extended products)"},
    {"Gain/factor:2", "gain, factor 2 (float products)"},
    {"Clip", "clipping stage"},
    {"Silence", "silencing stage"},
    {"Search", "search of the extremes"},
    {"ZeroTraces", "zeroing of all traces"},
};

void PrintSummary(const TSummaryReporter& reporter, const TBenchContext& ctx) {
    std::printf("\nsummary (wall-clock time, fastest repetition), 200000 x 512 samples:\n");
    const auto plain = reporter.Seconds("PlainLoop");
    if (!plain) {
        std::printf("  the plain loop did not run: no ratios\n");
        return;
    }
    std::printf("  %-40s %8.1f ms\n", "plain loop (read and write each sample)", *plain * 1e3);
    for (const TSummaryLine& line : kSummary) {
        const auto seconds = reporter.Seconds(line.Name);
        if (!seconds) {
            std::printf("  %-40s did not run\n", line.Label);
            continue;
        }
        const double ratio = *seconds / *plain;
        std::printf("  %-40s %8.1f ms  %5.2fx plain  [within %.1fx: %s]\n", line.Label,
                    *seconds * 1e3, ratio, kTargetRatio, ratio <= kTargetRatio ? "met" : "MISSED");
    }
    std::printf("  progress callbacks over the whole run: %llu\n",
                static_cast<unsigned long long>(ctx.ProgressCalls));
}

}  // namespace

int main(int argc, char** argv) {
    // Random interleaving unless the command line says otherwise.
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    if (std::none_of(args.begin(), args.end(), [](const char* a) {
            return std::string_view(a).starts_with("--benchmark_enable_random_interleaving");
        }))
        args.push_back(interleave.data());
    argc = static_cast<int>(args.size());
    args.push_back(nullptr);
    argv = args.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    TBenchContext ctx;
    const fs::path path = BenchFilePath();
    try {
        EnsureBenchFile(path);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cannot prepare %s: %s\n", path.c_str(), e.what());
        return 1;
    }
    if (trelvanox::ReadRadargram(*ctx.Model, path, trelvanox::TRadarLayout::Gpr2).Code != 0) {
        std::fprintf(stderr, "ReadRadargram failed on %s\n", path.c_str());
        return 1;
    }
    KeepSamples(ctx);

    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("PlainLoop", BenchPlainLoop, std::ref(ctx))->Unit(ms);
    benchmark::RegisterBenchmark("Gain/factor:1.1", BenchGain, std::ref(ctx), "1.1")->Unit(ms);
    benchmark::RegisterBenchmark("Gain/factor:2", BenchGain, std::ref(ctx), "2")->Unit(ms);
    benchmark::RegisterBenchmark("Clip", BenchClip, std::ref(ctx))->Unit(ms);
    benchmark::RegisterBenchmark("Silence", BenchSilence, std::ref(ctx))->Unit(ms);
    benchmark::RegisterBenchmark("Search", BenchSearch, std::ref(ctx))->Unit(ms);
    benchmark::RegisterBenchmark("ZeroTraces", BenchZeroTraces, std::ref(ctx))->Unit(ms);

    TSummaryReporter reporter(ConsoleOptions());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary(reporter, ctx);
    benchmark::Shutdown();
    return 0;
}
