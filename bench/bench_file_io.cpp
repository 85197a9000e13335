// Reading and writing a maximal radargram (200000 traces x 512 samples, GPR2, about 418 MB),
// measured against the plain cost of reading the same bytes from the page cache: read() of 1 MiB
// chunks into one reused buffer. Further references, reported without a target, show what the
// machine allows: the same reads into a block as large as the sample matrix, and pwrite() from a
// small buffer or from such a block into a scratch file.
//
// The file is generated once into $TMPDIR (or /tmp) and read once before any timing, so every
// timing starts from a warm page cache. The writer ends with an fsync, which measures the disk
// rather than our code; it is timed on its own through a file that wraps the real one, and the
// write time is reported without it.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "bench_file.h"
#include "model/radar_file.h"
#include "model/radargram.h"
#include "model/radargram_io.h"

namespace {

namespace fs = std::filesystem;
using trelvanox::TRadarLayout;
using trelvanox::bench::BenchFilePath;
using trelvanox::bench::Clock;
using trelvanox::bench::ConsoleOptions;
using trelvanox::bench::EnsureBenchFile;
using trelvanox::bench::PlainRead;
using trelvanox::bench::SecondsSince;

constexpr std::size_t kPlainChunk = std::size_t{1} << 20;
constexpr std::uint64_t kMemoryAllowance = std::uint64_t{64} << 20;
constexpr double kTargetRatio = 2.0;
constexpr double kMiB = 1024.0 * 1024.0;

// The same read() loop with a destination as large as the model's, which has to go out to main
// memory instead of staying in the cache: the floor for any read that fills the model. The bytes
// beyond the destination go to the small buffer so that the whole file is read.
bool PlainReadIntoLarge(const fs::path& path, std::span<char> destination,
                        std::vector<char>& buffer, std::uint64_t expected) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    std::uint64_t total = 0;
    ssize_t n = 0;
    while (true) {
        const std::size_t at =
            static_cast<std::size_t>(std::min<std::uint64_t>(total, destination.size()));
        const std::size_t room = std::min(kPlainChunk, destination.size() - at);
        n = room > 0 ? ::read(fd, destination.data() + at, room)
                     : ::read(fd, buffer.data(), buffer.size());
        if (n <= 0) break;
        total += static_cast<std::uint64_t>(n);
    }
    ::close(fd);
    benchmark::DoNotOptimize(destination.data());
    benchmark::ClobberMemory();
    return n == 0 && total == expected;
}

// The references for writing: pwrite() of 1 MiB chunks over a scratch file of the same size
// whose pages are in the cache, as the radargram's are when the writer runs, either from one small
// buffer or from a block as large as the model's (where source runs out, its start is used again).
// The fsync after it keeps dirty pages from piling up across iterations and, as for the writer,
// is timed apart.
bool PlainWrite(const fs::path& path, std::span<const char> source, std::uint64_t size,
                double& syncSeconds) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = true;
    for (std::uint64_t at = 0; ok && at < size; at += kPlainChunk) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kPlainChunk, size - at));
        const char* from = at + n <= source.size() ? source.data() + at : source.data();
        ok = ::pwrite(fd, from, n, static_cast<off_t>(at)) == static_cast<ssize_t>(n);
    }
    const auto start = Clock::now();
    ok = ok && ::fsync(fd) == 0;
    syncSeconds = SecondsSince(start);
    return ::close(fd) == 0 && ok;
}

std::uint64_t PeakResidentBytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;  // kilobytes on Linux
}

// Forwards everything to the real file and keeps the time spent in Sync().
class TSyncTimingFile final : public trelvanox::TRadarFile {
  public:
    explicit TSyncTimingFile(std::unique_ptr<trelvanox::TRadarFile> inner)
        : inner_(std::move(inner)) {}

    trelvanox::TFileStamp Stamp() const override { return inner_->Stamp(); }
    bool ReadAt(std::uint64_t offset, trelvanox::TReadSlices slices) override {
        return inner_->ReadAt(offset, slices);
    }
    bool WriteAt(std::uint64_t offset, trelvanox::TWriteSlices slices) override {
        return inner_->WriteAt(offset, slices);
    }
    bool Sync() override {
        const auto start = Clock::now();
        const bool ok = inner_->Sync();
        syncSeconds_ += SecondsSince(start);
        return ok;
    }

    bool Truncate(std::uint64_t size) override { return inner_->Truncate(size); }

    double SyncSeconds() const { return syncSeconds_; }

  private:
    std::unique_ptr<trelvanox::TRadarFile> inner_;
    double syncSeconds_ = 0;
};

// What the benchmarks share: the file and the one model of the run, as in the program.
struct TBenchContext {
    fs::path Path;
    fs::path ScratchPath;
    std::uint64_t FileSize = 0;
    std::unique_ptr<trelvanox::TRadargram> Model = std::make_unique<trelvanox::TRadargram>();
};

std::int64_t MinorFaults() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Page faults are costly on some machines (virtual ones above all) and show memory that an
// operation allocates afresh every time, so every benchmark counts them per iteration.
void SetCommonCounters(benchmark::State& state, const TBenchContext& ctx,
                       std::int64_t faultsBefore) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * ctx.FileSize));
    state.counters["peak_rss_MiB"] = static_cast<double>(PeakResidentBytes()) / kMiB;
    state.counters["faults"] = benchmark::Counter(static_cast<double>(MinorFaults() - faultsBefore),
                                                  benchmark::Counter::kAvgIterations);
}

void BenchPlainRead(benchmark::State& state, TBenchContext& ctx) {
    const std::int64_t faultsBefore = MinorFaults();
    std::vector<char> buffer(kPlainChunk);
    for (auto _ : state) {
        if (!PlainRead(ctx.Path, buffer, ctx.FileSize)) {
            state.SkipWithError("plain read failed");
            break;
        }
    }
    SetCommonCounters(state, ctx, faultsBefore);
}

// The whole sample matrix as one block of bytes.
std::span<char> MatrixBytes(trelvanox::TRadargram& model) {
    return {reinterpret_cast<char*>(model.SampleMatrix().Row(0).data()),
            trelvanox::TSampleMatrix::kRows * trelvanox::TSampleMatrix::kRowLength * sizeof(float)};
}

// Borrows the model's sample matrix as the large destination, so that the process holds no
// second matrix-sized block; the model is read again afterwards to put its samples back.
void BenchPlainReadIntoLarge(benchmark::State& state, TBenchContext& ctx) {
    const std::int64_t faultsBefore = MinorFaults();
    const std::span<char> destination = MatrixBytes(*ctx.Model);
    std::vector<char> buffer(kPlainChunk);
    for (auto _ : state) {
        if (!PlainReadIntoLarge(ctx.Path, destination, buffer, ctx.FileSize)) {
            state.SkipWithError("plain read failed");
            break;
        }
    }
    SetCommonCounters(state, ctx, faultsBefore);
    if (trelvanox::ReadRadargram(*ctx.Model, ctx.Path, TRadarLayout::Gpr2).Code != 0)
        state.SkipWithError("ReadRadargram failed to restore the model");
}

// Manual time: the writes without the final fsync.
void RunPlainWrite(benchmark::State& state, TBenchContext& ctx, std::span<const char> source) {
    const std::int64_t faultsBefore = MinorFaults();
    double syncSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        double sync = 0;
        if (!PlainWrite(ctx.ScratchPath, source, ctx.FileSize, sync)) {
            state.SkipWithError("plain write failed");
            break;
        }
        state.SetIterationTime(SecondsSince(start) - sync);
        syncSeconds += sync;
    }
    state.counters["sync_ms"] =
        benchmark::Counter(syncSeconds * 1e3, benchmark::Counter::kAvgIterations);
    SetCommonCounters(state, ctx, faultsBefore);
}

void BenchPlainWrite(benchmark::State& state, TBenchContext& ctx) {
    const std::vector<char> buffer(kPlainChunk, '\x5a');
    RunPlainWrite(state, ctx, buffer);
}

// The model's sample matrix is the large source; it is only read.
void BenchPlainWriteFromLarge(benchmark::State& state, TBenchContext& ctx) {
    RunPlainWrite(state, ctx, MatrixBytes(*ctx.Model));
}

void BenchReadRadargram(benchmark::State& state, TBenchContext& ctx) {
    const std::int64_t faultsBefore = MinorFaults();
    for (auto _ : state) {
        const auto result = trelvanox::ReadRadargram(*ctx.Model, ctx.Path, TRadarLayout::Gpr2);
        if (result.Code != 0) {
            state.SkipWithError("ReadRadargram failed");
            break;
        }
    }
    SetCommonCounters(state, ctx, faultsBefore);
}

// Manual time: the whole write (open, transfers, close) without the final fsync.
void BenchWriteRadargram(benchmark::State& state, TBenchContext& ctx) {
    const std::int64_t faultsBefore = MinorFaults();
    double syncSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        double sync = 0;
        bool ok = false;
        {
            auto real = trelvanox::OpenRadarFile(ctx.Path);
            if (real) {
                TSyncTimingFile file(std::move(real));
                ok =
                    trelvanox::WriteRadargramTo(*ctx.Model, file, TRadarLayout::Gpr2, false).Code ==
                    0;
                sync = file.SyncSeconds();
            }
        }
        const double total = SecondsSince(start);
        if (!ok) {
            state.SkipWithError("WriteRadargramTo failed");
            break;
        }
        state.SetIterationTime(total - sync);
        syncSeconds += sync;
    }
    state.counters["sync_ms"] =
        benchmark::Counter(syncSeconds * 1e3, benchmark::Counter::kAvgIterations);
    SetCommonCounters(state, ctx, faultsBefore);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Prints the usual table and keeps each benchmark's per-repetition times for the summary; when
// only aggregates are reported, their medians stand in.
class TSummaryReporter : public benchmark::ConsoleReporter {
  public:
    using ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type != Run::RT_Iteration && !median) continue;
            TTimes& times =
                median ? medians_[run.run_name.function_name] : times_[run.run_name.function_name];
            times.Seconds.push_back(run.GetAdjustedRealTime() /
                                    benchmark::GetTimeUnitMultiplier(run.time_unit));
            if (const auto it = run.counters.find("sync_ms"); it != run.counters.end())
                times.SyncMs.push_back(it->second.value);
        }
    }

    // Median seconds per iteration, or nothing when the benchmark did not run.
    std::optional<double> Seconds(const std::string& name) const {
        return Find(name, &TTimes::Seconds);
    }
    std::optional<double> SyncMs(const std::string& name) const {
        return Find(name, &TTimes::SyncMs);
    }

  private:
    struct TTimes {
        std::vector<double> Seconds;
        std::vector<double> SyncMs;
    };

    std::optional<double> Find(const std::string& name, std::vector<double> TTimes::*values) const {
        for (const auto* source : {&times_, &medians_}) {
            const auto it = source->find(name);
            if (it != source->end() && !(it->second.*values).empty())
                return Median(it->second.*values);
        }
        return std::nullopt;
    }

    std::map<std::string, TTimes> times_;
    std::map<std::string, TTimes> medians_;
};

void PrintRatio(const char* what, std::optional<double> seconds, double plain) {
    if (!seconds) {
        std::printf("  %-36s did not run\n", what);
        return;
    }
    const double ratio = *seconds / plain;
    std::printf("  %-36s %8.1f ms  %5.2fx plain read  ", what, *seconds * 1e3, ratio);
    if (ratio <= kTargetRatio) {
        std::printf("[within %.0fx: met]\n", kTargetRatio);
    } else {
        std::printf("[within %.0fx: MISSED by %.1f ms, %.0f%% over %.1f ms]\n", kTargetRatio,
                    (*seconds - kTargetRatio * plain) * 1e3, (ratio / kTargetRatio - 1) * 100,
                    kTargetRatio * plain * 1e3);
    }
}

void PrintSummary(const TSummaryReporter& reporter, const TBenchContext& ctx,
                  double firstReadSeconds) {
    std::printf("\nsummary (medians over repetitions), file %.1f MiB:\n", ctx.FileSize / kMiB);
    const auto plain = reporter.Seconds("PlainRead");
    if (!plain) {
        std::printf("  plain read did not run: no ratios\n");
    } else {
        std::printf("  %-36s %8.1f ms  %5.2f GiB/s\n", "plain read (1 MiB read() chunks)",
                    *plain * 1e3, ctx.FileSize / *plain / (kMiB * 1024));
        PrintRatio("ReadRadargram", reporter.Seconds("ReadRadargram"), *plain);
        if (const auto large = reporter.Seconds("PlainReadIntoLarge"))
            std::printf("  %-36s %8.1f ms  %5.2fx plain read  (reference, no target)\n",
                        "plain read into a matrix-sized block", *large * 1e3, *large / *plain);
        PrintRatio("WriteRadargram without fsync", reporter.Seconds("WriteRadargram"), *plain);
        if (const auto write = reporter.Seconds("PlainWrite"))
            std::printf("  %-36s %8.1f ms  %5.2fx plain read  (reference, no target)\n",
                        "plain write (1 MiB pwrite() chunks)", *write * 1e3, *write / *plain);
        if (const auto write = reporter.Seconds("PlainWriteFromLarge"))
            std::printf("  %-36s %8.1f ms  %5.2fx plain read  (reference, no target)\n",
                        "plain write from a matrix-sized block", *write * 1e3, *write / *plain);
    }
    if (const auto sync = reporter.SyncMs("WriteRadargram"))
        std::printf("  %-36s %8.1f ms\n", "fsync at the end of WriteRadargram", *sync);
    if (const auto sync = reporter.SyncMs("PlainWrite"))
        std::printf("  %-36s %8.1f ms\n", "fsync after the plain write", *sync);
    std::printf("  %-36s %8.1f ms  (once; includes faulting in the sample matrix)\n",
                "first read into a fresh model", firstReadSeconds * 1e3);
    const std::uint64_t peak = PeakResidentBytes();
    const std::uint64_t limit = ctx.FileSize + kMemoryAllowance;
    std::printf("  %-36s %8.1f MiB limit %.1f MiB (file + 64 MiB)  ", "peak memory (ru_maxrss)",
                peak / kMiB, limit / kMiB);
    if (peak <= limit)
        std::printf("[met]\n");
    else
        std::printf("[MISSED by %.1f MiB]\n", (peak - limit) / kMiB);
}

// The scratch file for the plain write, of the bench file's size, written once so that its
// blocks exist and its pages are cached before any timing.
bool PrepareScratch(const TBenchContext& ctx) {
    const std::vector<char> buffer(kPlainChunk, '\x5a');
    double sync = 0;
    return PlainWrite(ctx.ScratchPath, buffer, ctx.FileSize, sync);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    TBenchContext ctx;
    ctx.Path = BenchFilePath();
    ctx.ScratchPath = ctx.Path.parent_path() / "trelvanox_bench_scratch.bin";
    try {
        EnsureBenchFile(ctx.Path);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cannot prepare %s: %s\n", ctx.Path.c_str(), e.what());
        return 1;
    }
    ctx.FileSize = fs::file_size(ctx.Path);
    if (!PrepareScratch(ctx)) {
        std::fprintf(stderr, "cannot write %s\n", ctx.ScratchPath.c_str());
        return 1;
    }

    // Bring the file into the page cache, then read it once into the model: the first read also
    // pays for mapping the matrix, which the steady-state timings leave out.
    std::vector<char> buffer(kPlainChunk);
    if (!PlainRead(ctx.Path, buffer, ctx.FileSize)) {
        std::fprintf(stderr, "cannot read %s\n", ctx.Path.c_str());
        return 1;
    }
    const auto start = Clock::now();
    const auto first = trelvanox::ReadRadargram(*ctx.Model, ctx.Path, TRadarLayout::Gpr2);
    const double firstReadSeconds = SecondsSince(start);
    if (first.Code != 0) {
        std::fprintf(stderr, "ReadRadargram failed on %s\n", ctx.Path.c_str());
        return 1;
    }

    benchmark::RegisterBenchmark("PlainRead", BenchPlainRead, std::ref(ctx))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PlainReadIntoLarge", BenchPlainReadIntoLarge, std::ref(ctx))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ReadRadargram", BenchReadRadargram, std::ref(ctx))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PlainWrite", BenchPlainWrite, std::ref(ctx))
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PlainWriteFromLarge", BenchPlainWriteFromLarge, std::ref(ctx))
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("WriteRadargram", BenchWriteRadargram, std::ref(ctx))
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);

    TSummaryReporter reporter(ConsoleOptions());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary(reporter, ctx, firstReadSeconds);
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove(ctx.ScratchPath, ec);
    return 0;
}
