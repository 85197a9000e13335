#include "bench_file.h"

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

}  // namespace trelvanox::bench
