#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/radargram.h"
#include "radargram_generator.h"

namespace trelvanox::bench {

// The maximal radargram every benchmark works on: 200000 traces x 512 samples, GPR2, its label
// count equal to its labelled traces, so that a write changes no byte.
TGeneratorOptions MaximalFile();

// Where that file lives: $TMPDIR, or /tmp, so that one copy serves every benchmark program.
std::filesystem::path BenchFilePath();

// Generates the file unless one of the right size is there already; a half-written file from an
// interrupted run has the wrong size and is made again. Throws as the generator does.
void EnsureBenchFile(const std::filesystem::path& path);

using Clock = std::chrono::steady_clock;
double SecondsSince(Clock::time_point start);

// The reference every file benchmark is measured against: read() of the whole file in chunks of
// the buffer's size into that one reused buffer. True when exactly expected bytes came.
bool PlainRead(const std::filesystem::path& path, std::vector<char>& buffer,
               std::uint64_t expected);

// A copy as a careful copying program makes it: every byte of from read and written into the new
// file to in 1 MiB chunks, then fsync. True when exactly expected bytes were copied; to must not
// exist yet.
bool PlainCopy(const std::filesystem::path& from, const std::filesystem::path& to,
               std::uint64_t expected);

// Counts samples per iteration and their bytes (4 each) as processed, for the table's rates.
void SetSampleCounters(benchmark::State& state, double samples);

// The reference of the sample benchmarks: every sample of a maximal profile read once, in the
// simplest loop.
void BenchPlainPass(benchmark::State& state, const TRadargram& model);

// Prints the usual table and keeps, for each benchmark, the time per iteration and the counters
// of its fastest repetition: on a shared or virtual machine the fastest run is the one least
// disturbed by others.
class TFastestReporter : public benchmark::ConsoleReporter {
  public:
    using ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run>& runs) override;
    // Seconds per iteration of the fastest repetition; nothing when the benchmark did not run.
    std::optional<double> Seconds(const std::string& name) const;
    // A counter of that repetition; 0 when there is none.
    double Counter(const std::string& name, const std::string& counter) const;

  private:
    std::map<std::string, double> fastest_;
    std::map<std::string, benchmark::UserCounters> counters_;
};

// The console table, in colour on a terminal.
benchmark::ConsoleReporter::OutputOptions ConsoleOptions();

// Prints the usual table and keeps each benchmark's per-repetition wall-clock times (or, when
// only aggregates are reported, their minima) for the summary.
class TSummaryReporter : public benchmark::ConsoleReporter {
  public:
    using ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run>& runs) override;

    // The fastest repetition's seconds per iteration, or nothing when the benchmark did not run.
    std::optional<double> Seconds(const std::string& name) const;
    // The least processor time of a repetition per iteration (of every thread, for a benchmark
    // that measures its process's time), which other programs on the machine disturb less.
    std::optional<double> CpuSeconds(const std::string& name) const;

  private:
    std::map<std::string, std::vector<double>> times_;
    std::map<std::string, std::vector<double>> minima_;
    std::map<std::string, std::vector<double>> cpuTimes_;
};

}  // namespace trelvanox::bench
