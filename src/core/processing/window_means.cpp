#include "processing/window_means.h"

#include <emmintrin.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "processing/sample_window.h"

namespace trelvanox {

namespace {

// Traces go through the window side by side, kLanes at a time, laid out sample by sample in a
// tile (tile[j x kLanes + lane]): the running sums of the lanes are independent additions, two
// lanes to a register, where one trace alone would wait for each addition before the next. The
// registers are those every x86-64 processor has (SSE2), through their intrinsics, since the
// compilers widen floats to doubles poorly from plain vector code.
// The small helpers below are inlined by force: called from many places, they would otherwise
// be left as calls that pass the registers through memory.
constexpr std::uint32_t kLanes = 8;

// A running sum in double drifts by the rounding of every value that enters and leaves it, some
// 1e-16 of the largest sum each time, far below a float's precision over the longest trace; it is
// still taken afresh from its window after this many samples, so that no trace however long
// gathers more.
constexpr std::uint32_t kResumEvery = 512;

// The running sums of the kLanes lanes, two to a register.
struct TLaneSums {
    __m128d S0 = _mm_setzero_pd();
    __m128d S1 = _mm_setzero_pd();
    __m128d S2 = _mm_setzero_pd();
    __m128d S3 = _mm_setzero_pd();
};

// The lanes of sample j, widened (and squared): the four pairs.
struct TLaneValues {
    __m128d V0 = _mm_setzero_pd();
    __m128d V1 = _mm_setzero_pd();
    __m128d V2 = _mm_setzero_pd();
    __m128d V3 = _mm_setzero_pd();
};

template <bool Squares>
[[gnu::always_inline]] inline TLaneValues Widen(const float* tile, std::uint32_t j) {
    const float* p = tile + std::size_t{j} * kLanes;
    const __m128 a = _mm_loadu_ps(p);
    const __m128 b = _mm_loadu_ps(p + 4);
    TLaneValues v{_mm_cvtps_pd(a), _mm_cvtps_pd(_mm_movehl_ps(a, a)), _mm_cvtps_pd(b),
                  _mm_cvtps_pd(_mm_movehl_ps(b, b))};
    if (Squares) {
        v.V0 = _mm_mul_pd(v.V0, v.V0);
        v.V1 = _mm_mul_pd(v.V1, v.V1);
        v.V2 = _mm_mul_pd(v.V2, v.V2);
        v.V3 = _mm_mul_pd(v.V3, v.V3);
    }
    return v;
}

[[gnu::always_inline]] inline __m128 Narrow(__m128d low, __m128d high) {
    return _mm_movelh_ps(_mm_cvtpd_ps(low), _mm_cvtpd_ps(high));
}

// Four values from each of four rows into four rows of four (a 4 x 4 transpose).
void Transpose4(const float* r0, const float* r1, const float* r2, const float* r3, float* o0,
                float* o1, float* o2, float* o3) {
    __m128 a = _mm_loadu_ps(r0);
    __m128 b = _mm_loadu_ps(r1);
    __m128 c = _mm_loadu_ps(r2);
    __m128 d = _mm_loadu_ps(r3);
    _MM_TRANSPOSE4_PS(a, b, c, d);
    _mm_storeu_ps(o0, a);
    _mm_storeu_ps(o1, b);
    _mm_storeu_ps(o2, c);
    _mm_storeu_ps(o3, d);
}

// Rows (kLanes of them, of samples values) into the tile, or the tile back into the rows.
void ToTile(const std::array<float*, kLanes>& rows, std::uint32_t samples, float* tile) {
    const std::uint32_t whole = samples / 4 * 4;
    for (std::uint32_t g = 0; g < kLanes; g += 4)
        for (std::uint32_t j = 0; j < whole; j += 4) {
            float* o = tile + std::size_t{j} * kLanes + g;
            Transpose4(rows[g] + j, rows[g + 1] + j, rows[g + 2] + j, rows[g + 3] + j, o,
                       o + kLanes, o + 2 * kLanes, o + 3 * kLanes);
        }
    for (std::uint32_t l = 0; l < kLanes; ++l)
        for (std::uint32_t j = whole; j < samples; ++j)
            tile[std::size_t{j} * kLanes + l] = rows[l][j];
}

void FromTile(const float* tile, std::uint32_t samples, const std::array<float*, kLanes>& rows) {
    const std::uint32_t whole = samples / 4 * 4;
    for (std::uint32_t g = 0; g < kLanes; g += 4)
        for (std::uint32_t j = 0; j < whole; j += 4) {
            const float* i = tile + std::size_t{j} * kLanes + g;
            Transpose4(i, i + kLanes, i + 2 * kLanes, i + 3 * kLanes, rows[g] + j, rows[g + 1] + j,
                       rows[g + 2] + j, rows[g + 3] + j);
        }
    for (std::uint32_t l = 0; l < kLanes; ++l)
        for (std::uint32_t j = whole; j < samples; ++j)
            rows[l][j] = tile[std::size_t{j} * kLanes + l];
}

[[gnu::always_inline]] inline void Add(TLaneSums& sum, const TLaneValues& v) {
    sum.S0 = _mm_add_pd(sum.S0, v.V0);
    sum.S1 = _mm_add_pd(sum.S1, v.V1);
    sum.S2 = _mm_add_pd(sum.S2, v.V2);
    sum.S3 = _mm_add_pd(sum.S3, v.V3);
}

// What comes in less what leaves, taken first, so that the sums wait for one addition only.
[[gnu::always_inline]] inline TLaneValues Difference(const TLaneValues& in,
                                                     const TLaneValues& out) {
    return {_mm_sub_pd(in.V0, out.V0), _mm_sub_pd(in.V1, out.V1), _mm_sub_pd(in.V2, out.V2),
            _mm_sub_pd(in.V3, out.V3)};
}

// finish(x, mean) of the lanes of sample j into out.
template <typename TFinish>
[[gnu::always_inline]] inline void Finish(const float* tile, float* out, std::uint32_t j,
                                          const TLaneSums& sum, double inverse, TFinish finish) {
    const std::size_t at = std::size_t{j} * kLanes;
    const __m128d by = _mm_set1_pd(inverse);
    _mm_storeu_ps(out + at, finish(_mm_loadu_ps(tile + at),
                                   Narrow(_mm_mul_pd(sum.S0, by), _mm_mul_pd(sum.S1, by))));
    _mm_storeu_ps(out + at + 4, finish(_mm_loadu_ps(tile + at + 4),
                                       Narrow(_mm_mul_pd(sum.S2, by), _mm_mul_pd(sum.S3, by))));
}

// The mean over its window of each sample of each lane of the tile, and finish(x, mean) of it
// and the sample, into out (laid out as the tile): a running sum, which in double keeps the
// precision of a float even where strong samples leave the window and weak ones remain.
template <typename TFinish>
void RunWindow(const float* tile, std::uint32_t samples, std::uint32_t window, float* out,
               TFinish finish) {
    const std::uint32_t half = (window - 1) / 2;
    // Samples [inner, innerEnd) have their whole window inside the trace, and samples
    // (half, innerEnd) come from the window before by one sample in and one out.
    const std::uint32_t inner = std::min(half, samples);
    const std::uint32_t innerEnd = samples > half ? std::max(samples - half, inner) : inner;
    const double inverseWindow = 1.0 / window;
    const auto cutFinish = [&](std::uint32_t j, const TLaneSums& sum) {
        const TWindowCut cut = CutWindow(j, window, samples);
        Finish(tile, out, j, sum, 1.0 / (cut.End - cut.First), finish);
    };
    for (std::uint32_t first = 0; first < samples; first += kResumEvery) {
        const std::uint32_t end = std::min(samples, first + kResumEvery);
        TLaneSums sum;
        const TWindowCut cut = CutWindow(first, window, samples);
        for (std::uint32_t i = cut.First; i < cut.End; ++i) Add(sum, Widen<false>(tile, i));
        cutFinish(first, sum);
        std::uint32_t j = first + 1;
        // From the window of j - 1, sample j + half comes in and sample j - half - 1 leaves.
        for (; j < end && (j <= half || j >= innerEnd); ++j) {
            TLaneValues entering{};
            TLaneValues leaving{};
            if (j + half < samples) entering = Widen<false>(tile, j + half);
            if (j > half) leaving = Widen<false>(tile, j - half - 1);
            Add(sum, Difference(entering, leaving));
            cutFinish(j, sum);
        }
        for (; j < std::min(end, innerEnd); ++j) {
            const TLaneValues entering = Widen<false>(tile, j + half);
            const TLaneValues leaving = Widen<false>(tile, j - half - 1);
            Add(sum, Difference(entering, leaving));
            Finish(tile, out, j, sum, inverseWindow, finish);
        }
        for (; j < end; ++j) {
            TLaneValues entering{};
            const TLaneValues leaving = Widen<false>(tile, j - half - 1);
            if (j + half < samples) entering = Widen<false>(tile, j + half);
            Add(sum, Difference(entering, leaving));
            cutFinish(j, sum);
        }
    }
}

[[gnu::always_inline]] inline void StoreSums(double* to, std::uint32_t j, const TLaneSums& sum) {
    double* at = to + std::size_t{j} * kLanes;
    _mm_storeu_pd(at, sum.S0);
    _mm_storeu_pd(at + 2, sum.S1);
    _mm_storeu_pd(at + 4, sum.S2);
    _mm_storeu_pd(at + 6, sum.S3);
}

[[gnu::always_inline]] inline TLaneValues LoadSums(const double* from, std::uint32_t j) {
    const double* at = from + std::size_t{j} * kLanes;
    return {_mm_loadu_pd(at), _mm_loadu_pd(at + 2), _mm_loadu_pd(at + 4), _mm_loadu_pd(at + 6)};
}

// The same over squares, where a running sum will not do: when the strong samples at the top of
// a trace leave the window, the rounding of their squares stays in the sum and swamps the squares
// of the weak samples below. Instead the trace is cut into runs of window samples, and each
// sample has the sum of its run up to it (head) and from it to the run's end (tail); a window
// is the tail of one run and the head of the next, or one of them alone, so every sum adds only
// squares that lie next to the sample, and none is ever taken away.
template <typename TFinish>
void RunSquaresWindow(const float* tile, std::uint32_t samples, std::uint32_t window, float* out,
                      double* head, double* tail, TFinish finish) {
    // Each run forwards for its heads, with the squares kept in tail for the way back.
    for (std::uint32_t run = 0; run < samples; run += window) {
        const std::uint32_t end = std::min<std::uint64_t>(samples, std::uint64_t{run} + window);
        TLaneSums sum;
        for (std::uint32_t j = run; j < end; ++j) {
            const TLaneValues square = Widen<true>(tile, j);
            StoreSums(tail, j, {square.V0, square.V1, square.V2, square.V3});
            Add(sum, square);
            StoreSums(head, j, sum);
        }
        sum = {};
        for (std::uint32_t j = end; j-- > run;) {
            Add(sum, LoadSums(tail, j));
            StoreSums(tail, j, sum);
        }
    }
    const double inverseWindow = 1.0 / window;
    const std::uint32_t half = (window - 1) / 2;
    const auto cutFinish = [&](std::uint32_t j) {
        const TWindowCut cut = CutWindow(j, window, samples);
        const std::uint32_t last = cut.End - 1;
        TLaneSums sum;
        if (cut.First % window == 0) {
            Add(sum, LoadSums(head, last));
        } else {
            Add(sum, LoadSums(tail, cut.First));
            if (last / window != cut.First / window) Add(sum, LoadSums(head, last));
        }
        Finish(tile, out, j, sum, 1.0 / (cut.End - cut.First), finish);
    };
    // Samples [inner, innerEnd) have their whole window, [j - half, j + half], in the trace.
    const std::uint32_t inner = std::min(half, samples);
    const std::uint32_t innerEnd = samples > half ? std::max(samples - half, inner) : inner;
    for (std::uint32_t j = 0; j < inner; ++j) cutFinish(j);
    // Where the window's first sample stands in its run.
    std::uint32_t at = inner < innerEnd ? (inner - half) % window : 0;
    for (std::uint32_t j = inner; j < innerEnd; ++j) {
        TLaneSums sum;
        Add(sum, LoadSums(head, j + half));
        if (at != 0) Add(sum, LoadSums(tail, j - half));
        Finish(tile, out, j, sum, inverseWindow, finish);
        if (++at == window) at = 0;
    }
    for (std::uint32_t j = innerEnd; j < samples; ++j) cutFinish(j);
}

// finish(x, mean) of each sample of the block and the mean of its window, of values or of
// squares, kLanes traces at a time (lanes beyond the block's last trace run on zeros and are
// dropped).
template <typename TFinish>
void OverWindows(TTraceBlock block, std::uint32_t window, bool squares, TFinish finish) {
    const std::uint32_t samples = block.Samples;
    if (block.Traces == 0 || samples == 0) return;
    // Both are written whole before they are read, so left as they come.
    const std::size_t size = std::size_t{samples} * kLanes;
    const auto tile = std::make_unique_for_overwrite<float[]>(size);
    const auto out = std::make_unique_for_overwrite<float[]>(size);
    const auto head = std::make_unique_for_overwrite<double[]>(squares ? size : 0);
    const auto tail = std::make_unique_for_overwrite<double[]>(squares ? size : 0);
    std::vector<float> spare;
    for (std::uint32_t first = 0; first < block.Traces; first += kLanes) {
        std::array<float*, kLanes> rows{};
        const std::uint32_t lanes = std::min(kLanes, block.Traces - first);
        for (std::uint32_t l = 0; l < lanes; ++l) rows[l] = block.Row(first + l).data();
        if (lanes < kLanes) {
            spare.assign(std::size_t{samples} * (kLanes - lanes), 0.0f);
            for (std::uint32_t l = lanes; l < kLanes; ++l)
                rows[l] = spare.data() + std::size_t{l - lanes} * samples;
        }
        ToTile(rows, samples, tile.get());
        if (squares)
            RunSquaresWindow(tile.get(), samples, window, out.get(), head.get(), tail.get(),
                             finish);
        else
            RunWindow(tile.get(), samples, window, out.get(), finish);
        FromTile(out.get(), samples, rows);
    }
}

}  // namespace

void SubtractWindowMeans(TTraceBlock block, std::uint32_t window) {
    OverWindows(block, window, false, [](__m128 x, __m128 mean) { return _mm_sub_ps(x, mean); });
}

void DivideByWindowRms(TTraceBlock block, std::uint32_t window) {
    OverWindows(block, window, true, [](__m128 x, __m128 power) {
        // A window of only zeros holds x = 0 too, and a running sum can leave a tiny negative
        // rest there: 0 comes out.
        const __m128 some = _mm_cmpgt_ps(power, _mm_setzero_ps());
        const __m128 root =
            _mm_sqrt_ps(_mm_or_ps(_mm_and_ps(some, power), _mm_andnot_ps(some, _mm_set1_ps(1))));
        return _mm_and_ps(some, _mm_div_ps(x, root));
    });
}

}  // namespace trelvanox
