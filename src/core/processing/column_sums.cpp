#include "processing/column_sums.h"

#include <emmintrin.h>

namespace trelvanox {

void AddColumnSums(const float* rows, std::size_t stride, std::uint32_t traces,
                   std::span<double> sums) {
    const std::size_t samples = sums.size();
    // Widened through the SSE2 registers every x86-64 processor has: the compilers widen floats
    // to doubles poorly from a plain loop, and that is most of its work.
    for (std::uint32_t t = 0; t < traces; ++t) {
        const float* row = rows + t * stride;
        double* sum = sums.data();
        std::size_t j = 0;
        for (; j + 4 <= samples; j += 4) {
            const __m128 x = _mm_loadu_ps(row + j);
            _mm_storeu_pd(sum + j, _mm_add_pd(_mm_loadu_pd(sum + j), _mm_cvtps_pd(x)));
            _mm_storeu_pd(sum + j + 2,
                          _mm_add_pd(_mm_loadu_pd(sum + j + 2), _mm_cvtps_pd(_mm_movehl_ps(x, x))));
        }
        for (; j < samples; ++j) sum[j] += row[j];
    }
}

}  // namespace trelvanox
