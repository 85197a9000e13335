#include "bench_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace trelvanox::bench {

namespace fs = std::filesystem;

TGeneratorOptions MaximalFile() {
    TGeneratorOptions o;
    o.TraceCount = kMaxTraces;
    o.SampleCount = kMaxSamples;
    o.Layout = TRadarLayout::Gpr2;
    o.Seed = 20240;
    o.LabelEvery = 500;
    return o;
}

fs::path BenchFilePath() {
    const char* dir = std::getenv("TMPDIR");
    const fs::path base = dir && *dir ? fs::path(dir) : fs::path("/tmp");
    return base / "trelvanox_bench_max.GPR2";
}

void EnsureBenchFile(const fs::path& path) {
    const auto options = MaximalFile();
    const std::uint64_t size = DescribeRadargram(options).FileSize;
    std::error_code ec;
    if (fs::file_size(path, ec) == size && !ec) return;
    std::printf("generating %s (%llu bytes)\n", path.c_str(),
                static_cast<unsigned long long>(size));
    const fs::path partial = path.string() + ".partial";
    const auto start = std::chrono::steady_clock::now();
    GenerateRadargram(partial, options);
    fs::rename(partial, path);
    std::printf("generated in %.2f s\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

bool PlainRead(const fs::path& path, std::vector<char>& buffer, std::uint64_t expected) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    std::uint64_t total = 0;
    ssize_t n = 0;
    while ((n = ::read(fd, buffer.data(), buffer.size())) > 0)
        total += static_cast<std::uint64_t>(n);
    ::close(fd);
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
    return n == 0 && total == expected;
}

bool PlainCopy(const fs::path& from, const fs::path& to, std::uint64_t expected) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0) {
        ::close(in);
        return false;
    }
    std::vector<char> buffer(std::size_t{1} << 20);
    std::uint64_t total = 0;
    bool ok = true;
    ssize_t n = 0;
    while (ok && (n = ::read(in, buffer.data(), buffer.size())) > 0) {
        ok = ::write(out, buffer.data(), static_cast<std::size_t>(n)) == n;
        total += static_cast<std::uint64_t>(n);
    }
    ok = ok && n == 0 && total == expected && ::fsync(out) == 0;
    ::close(in);
    return ::close(out) == 0 && ok;
}

void TFastestReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
        const double seconds =
            run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        const std::string name = run.run_name.function_name;
        auto [it, fresh] = fastest_.try_emplace(name, seconds);
        if (fresh || seconds <= it->second) {
            it->second = seconds;
            counters_[name] = run.counters;
        }
    }
}

std::optional<double> TFastestReporter::Seconds(const std::string& name) const {
    const auto it = fastest_.find(name);
    if (it == fastest_.end()) return std::nullopt;
    return it->second;
}

double TFastestReporter::Counter(const std::string& name, const std::string& counter) const {
    const auto it = counters_.find(name);
    if (it == counters_.end()) return 0;
    const auto c = it->second.find(counter);
    return c == it->second.end() ? 0 : c->second.value;
}

benchmark::ConsoleReporter::OutputOptions ConsoleOptions() {
    return ::isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                   : benchmark::ConsoleReporter::OO_Tabular;
}

void TSummaryReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred) continue;
        const bool minimum = run.run_type == Run::RT_Aggregate && run.aggregate_name == "min";
        if (run.run_type != Run::RT_Iteration && !minimum) continue;
        auto& times = minimum ? minima_ : times_;
        const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
        times[run.run_name.function_name].push_back(run.GetAdjustedRealTime() / unit);
        if (!minimum)
            cpuTimes_[run.run_name.function_name].push_back(run.GetAdjustedCPUTime() / unit);
    }
}

std::optional<double> TSummaryReporter::Seconds(const std::string& name) const {
    for (const auto* source : {&times_, &minima_}) {
        const auto it = source->find(name);
        if (it != source->end() && !it->second.empty())
            return *std::min_element(it->second.begin(), it->second.end());
    }
    return std::nullopt;
}

std::optional<double> TSummaryReporter::CpuSeconds(const std::string& name) const {
    const auto it = cpuTimes_.find(name);
    if (it == cpuTimes_.end() || it->second.empty()) return std::nullopt;
    return *std::min_element(it->second.begin(), it->second.end());
}

void SetSampleCounters(benchmark::State& state, double samples) {
    state.counters["samples"] = samples;
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(samples) * 4);
}

void BenchPlainPass(benchmark::State& state, const TRadargram& model) {
    for (auto _ : state) {
        std::uint64_t positive = 0;
        for (std::uint32_t t = 0; t < model.Header().TraceCount; ++t)
            for (const float x : model.Samples(t)) positive += x > 0.0f;
        benchmark::DoNotOptimize(positive);
    }
    SetSampleCounters(state, double{kMaxTraces} * kMaxSamples);
}

}  // namespace trelvanox::bench
