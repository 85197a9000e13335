// The rows of the matrix; its memory comes from the system-specific sample_memory_*.cpp.

#include "model/sample_matrix.h"

namespace trelvanox {

std::span<float, TSampleMatrix::kRowLength> TSampleMatrix::Row(std::size_t t) {
    return std::span<float, kRowLength>(Data() + t * kRowLength, kRowLength);
}

std::span<const float, TSampleMatrix::kRowLength> TSampleMatrix::Row(std::size_t t) const {
    return std::span<const float, kRowLength>(Data() + t * kRowLength, kRowLength);
}

}  // namespace trelvanox
