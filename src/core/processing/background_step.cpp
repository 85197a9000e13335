#include "processing/background_step.h"

#include <emmintrin.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "processing/column_sums.h"

namespace trelvanox {

namespace {

// The loops below widen floats to doubles and back through the SSE2 registers that every x86-64
// processor has: the compilers do that poorly from plain loops, and it is most of their work.

// row[j] - means[j] for samples [0, count).
void SubtractFrom(float* row, const double* means, std::uint32_t count) {
    std::uint32_t j = 0;
    for (; j + 4 <= count; j += 4) {
        const __m128 x = _mm_loadu_ps(row + j);
        const __m128d low = _mm_sub_pd(_mm_cvtps_pd(x), _mm_loadu_pd(means + j));
        const __m128d high =
            _mm_sub_pd(_mm_cvtps_pd(_mm_movehl_ps(x, x)), _mm_loadu_pd(means + j + 2));
        _mm_storeu_ps(row + j, _mm_movelh_ps(_mm_cvtpd_ps(low), _mm_cvtpd_ps(high)));
    }
    for (; j < count; ++j) row[j] = static_cast<float>(row[j] - means[j]);
}

// One trace of the running window: row less the window's mean (sums x inverse), the row kept as
// it was, and the sums moved on by incoming less leaving, for samples [0, count). Kept may be
// leaving (a window of one trace): it is written before it is read.
void RunningStep(float* row, float* kept, double* sums, const float* incoming, const float* leaving,
                 double inverse, std::uint32_t count) {
    const __m128d by = _mm_set1_pd(inverse);
    std::uint32_t j = 0;
    for (; j + 4 <= count; j += 4) {
        const __m128 x = _mm_loadu_ps(row + j);
        _mm_storeu_ps(kept + j, x);
        __m128d s0 = _mm_loadu_pd(sums + j);
        __m128d s1 = _mm_loadu_pd(sums + j + 2);
        const __m128d low = _mm_sub_pd(_mm_cvtps_pd(x), _mm_mul_pd(s0, by));
        const __m128d high = _mm_sub_pd(_mm_cvtps_pd(_mm_movehl_ps(x, x)), _mm_mul_pd(s1, by));
        _mm_storeu_ps(row + j, _mm_movelh_ps(_mm_cvtpd_ps(low), _mm_cvtpd_ps(high)));
        const __m128 in = _mm_loadu_ps(incoming + j);
        const __m128 out = _mm_loadu_ps(leaving + j);
        s0 = _mm_add_pd(s0, _mm_sub_pd(_mm_cvtps_pd(in), _mm_cvtps_pd(out)));
        s1 = _mm_add_pd(s1, _mm_sub_pd(_mm_cvtps_pd(_mm_movehl_ps(in, in)),
                                       _mm_cvtps_pd(_mm_movehl_ps(out, out))));
        _mm_storeu_pd(sums + j, s0);
        _mm_storeu_pd(sums + j + 2, s1);
    }
    for (; j < count; ++j) {
        const float x = row[j];
        kept[j] = x;
        row[j] = static_cast<float>(x - sums[j] * inverse);
        sums[j] += static_cast<double>(incoming[j]) - static_cast<double>(leaving[j]);
    }
}

void SubtractMeans(TTraceBlock block, std::span<const double> means) {
    for (std::uint32_t t = 0; t < block.Traces; ++t)
        SubtractFrom(block.Row(t).data(), means.data(), block.Samples);
}

// A running sum drifts by the rounding of every row that enters and leaves it; it is taken
// afresh from its window after this many traces at least (and after four windows), which keeps
// the error to that of a few thousand additions however long the profile.
constexpr std::uint32_t kResumTraces = 4096;

// A running window along the traces for samples [first, end): the sum over the window's traces
// is kept per sample; the rows that have left the block's window are kept as they were in a
// ring of half + 1 rows, since the block is changed in place.
void SubtractRunningMeans(TTraceBlock block, std::uint32_t half, std::uint32_t first,
                          std::uint32_t end) {
    const std::uint32_t width = end - first;
    const std::uint32_t ringRows = std::min<std::uint32_t>(half + 1, block.Traces);
    std::vector<float> ring(std::size_t{ringRows} * width);
    std::vector<double> sums(width, 0.0);
    const std::vector<float> zeros(width, 0.0f);
    const auto in = [&](std::uint32_t t) { return block.Row(t).data() + first; };
    const auto ringRow = [&](std::uint32_t t) {
        return ring.data() + std::size_t{t % ringRows} * width;
    };
    const auto AddRow = [&](std::vector<double>& to, const float* row) {
        AddColumnSums(row, width, 1, to);
    };
    const std::uint64_t resumEvery =
        std::max<std::uint64_t>(kResumTraces, 4 * (std::uint64_t{2} * half + 1));
    std::uint32_t windowEnd = std::min<std::uint64_t>(std::uint64_t{half} + 1, block.Traces);
    for (std::uint32_t u = 0; u < windowEnd; ++u) AddRow(sums, in(u));
    for (std::uint32_t t = 0; t < block.Traces; ++t) {
        const std::uint32_t windowFirst = t > half ? t - half : 0;
        if (t > 0 && t % resumEvery == 0) {
            // Rows before t are in the ring as they were; rows from t on are not changed yet.
            std::fill(sums.begin(), sums.end(), 0.0);
            for (std::uint32_t u = windowFirst; u < t; ++u) AddRow(sums, ringRow(u));
            for (std::uint32_t u = t; u < windowEnd; ++u) AddRow(sums, in(u));
        }
        const double inverse = 1.0 / (windowEnd - windowFirst);
        // The window of t + 1: row t + half + 1 comes in, row t - half leaves.
        const float* incoming = windowEnd < block.Traces ? in(windowEnd++) : zeros.data();
        const float* leaving = t >= half ? ringRow(t - half) : zeros.data();
        RunningStep(in(t), ringRow(t), sums.data(), incoming, leaving, inverse, width);
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

void ApplyBackground(const TBackgroundParams& params, TTraceBlock block,
                     std::span<const double> columnMeans) {
    if (block.Traces == 0 || block.Samples == 0) return;
    const std::size_t work = std::size_t{block.Traces} * block.Samples;
    if (params.Traces == 0) {
        if (!columnMeans.empty()) {
            SubtractMeans(block, columnMeans);
            return;
        }
        std::vector<double> means(block.Samples, 0.0);
        OverSampleParts(block.Samples, work, [&](std::uint32_t first, std::uint32_t end) {
            AddColumnSums(block.Data + first, block.Stride, block.Traces,
                          std::span(means).subspan(first, end - first));
        });
        for (double& m : means) m /= block.Traces;
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
