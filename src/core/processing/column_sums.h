#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace trelvanox {

// Adds traces rows, each stride values after the one before, to sums (one per sample: the first
// sums.size() values of each row), in double.
void AddColumnSums(const float* rows, std::size_t stride, std::uint32_t traces,
                   std::span<double> sums);

}  // namespace trelvanox
