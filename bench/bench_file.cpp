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
        times[run.run_name.function_name].push_back(
            run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit));
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

}  // namespace trelvanox::bench
