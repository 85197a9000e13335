#include "processing/background_step.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace trelvanox {

namespace {

void SubtractMeans(TTraceBlock block, std::span<const double> means) {
    for (std::uint32_t t = 0; t < block.Traces; ++t) {
        const auto row = block.Row(t);
        for (std::uint32_t j = 0; j < block.Samples; ++j)
            row[j] = static_cast<float>(row[j] - means[j]);
    }
}

// A running window along the traces for samples [first, end): the sum over the window's traces
// is kept per sample; the rows that have left the block's window are kept as they were in a
// ring of half + 1 rows, since the block is changed in place.
void SubtractRunningMeans(TTraceBlock block, std::uint32_t half, std::uint32_t first,
                          std::uint32_t end) {
    const std::uint32_t width = end - first;
    const std::uint32_t ringRows = std::min<std::uint32_t>(half + 1, block.Traces);
    std::vector<float> ring(std::size_t{ringRows} * width);
    std::vector<double> sums(width, 0.0);
    const auto in = [&](std::uint32_t t) { return block.Row(t).subspan(first, width); };
    std::uint32_t windowEnd = std::min<std::uint64_t>(std::uint64_t{half} + 1, block.Traces);
    for (std::uint32_t u = 0; u < windowEnd; ++u) {
        const auto row = in(u);
        for (std::uint32_t j = 0; j < width; ++j) sums[j] += row[j];
    }
    for (std::uint32_t t = 0; t < block.Traces; ++t) {
        const std::uint32_t windowFirst = t > half ? t - half : 0;
        const double count = windowEnd - windowFirst;
        const auto row = in(t);
        float* kept = ring.data() + std::size_t{t % ringRows} * width;
        std::copy(row.begin(), row.end(), kept);
        for (std::uint32_t j = 0; j < width; ++j)
            row[j] = static_cast<float>(row[j] - sums[j] / count);
        // The window of t + 1: row t + half + 1 comes in, row t - half leaves.
        if (windowEnd < block.Traces) {
            const auto incoming = in(windowEnd++);
            for (std::uint32_t j = 0; j < width; ++j) sums[j] += incoming[j];
        }
        if (t >= half) {
            const float* leaving = ring.data() + std::size_t{(t - half) % ringRows} * width;
            for (std::uint32_t j = 0; j < width; ++j) sums[j] -= leaving[j];
        }
    }
}

// Splits the samples between the cores; each part walks all the traces.
template <typename TWork>
void OverSampleParts(std::uint32_t samples, std::size_t work, TWork run) {
    constexpr std::size_t kWorkPerThread = std::size_t{1} << 20;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const auto parts = static_cast<std::uint32_t>(std::clamp<std::size_t>(
        std::min<std::size_t>(work / kWorkPerThread, samples / 16), 1, cores));
    std::vector<std::jthread> helpers;
    for (std::uint32_t part = 1; part < parts; ++part)
        helpers.emplace_back([&, part] {
            run(std::uint64_t{samples} * part / parts, std::uint64_t{samples} * (part + 1) / parts);
        });
    run(0, samples / parts);
}

}  // namespace

void AddColumnSums(TTraceBlock block, std::span<double> sums) {
    for (std::uint32_t t = 0; t < block.Traces; ++t) {
        const auto row = block.Row(t);
        for (std::uint32_t j = 0; j < block.Samples; ++j) sums[j] += row[j];
    }
}

void ApplyBackground(const TBackgroundParams& params, TTraceBlock block,
                     std::span<const double> columnMeans) {
    if (block.Traces == 0 || block.Samples == 0) return;
    const std::size_t work = std::size_t{block.Traces} * block.Samples;
    if (params.Traces == 0) {
        std::vector<double> means(columnMeans.begin(), columnMeans.end());
        if (means.empty()) {
            means.assign(block.Samples, 0.0);
            OverSampleParts(block.Samples, work, [&](std::uint32_t first, std::uint32_t end) {
                for (std::uint32_t t = 0; t < block.Traces; ++t) {
                    const auto row = block.Row(t);
                    for (std::uint32_t j = first; j < end; ++j) means[j] += row[j];
                }
            });
            for (double& m : means) m /= block.Traces;
        }
        OverSampleParts(block.Samples, work, [&](std::uint32_t first, std::uint32_t end) {
            SubtractMeans({block.Data + first, block.Stride, block.Traces, end - first},
                          std::span<const double>(means).subspan(first, end - first));
        });
        return;
    }
    const std::uint32_t half = (params.Traces - 1) / 2;
    OverSampleParts(block.Samples, work, [&](std::uint32_t first, std::uint32_t end) {
        SubtractRunningMeans(block, half, first, end);
    });
}

const TStepKind kBackgroundStep{
    .Name = "bgr",
    .Title = "Удаление фона",
    .ValueCaption = "Число трасс (0 - все)",
    .ValueName = "the number of traces",
    .Value = TValueKind::OddOrZero,
    .Minimum = 1,
    .Maximum = 399999,
    .Default = [](const TRadarHeader&) { return 0.0; },
    .AcrossTraces = true,
    .Reach = [](double value) { return value == 0 ? 0u : static_cast<std::uint32_t>(value) / 2; },
    .NeedsWholeProfile = [](double value) { return value == 0; },
    .Run =
        [](double value, const TStepContext& context, TTraceBlock block) {
            ApplyBackground({static_cast<std::uint32_t>(value)}, block, context.ColumnMeans);
        },
};

}  // namespace trelvanox
