#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "model/radar_layout.h"

namespace trelvanox {

// The fixed 200000 x 512 single-precision matrix (409,600,000 bytes). It is allocated once, on
// first use, as zero pages that cost nothing until touched, and never cleared or resized: a read
// overwrites the rows it needs, and cells outside the current counts are left alone.
class TSampleMatrix {
  public:
    static constexpr std::size_t kRowLength = kMaxSamples;
    static constexpr std::size_t kRows = kMaxTraces;

    // Row t (t < kRows), kRowLength samples; allocates the matrix on first call.
    std::span<float, kRowLength> Row(std::size_t t);
    std::span<const float, kRowLength> Row(std::size_t t) const;

  private:
    float* Data() const;

    struct TFree {
        void operator()(float* p) const;
    };
    mutable std::unique_ptr<float, TFree> data_;
};

}  // namespace trelvanox
