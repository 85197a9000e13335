#include "model/sample_matrix.h"

#include <cstdlib>
#include <new>

namespace trelvanox {

void TSampleMatrix::TFree::operator()(float* p) const { std::free(p); }

float* TSampleMatrix::Data() const {
    if (!data_) {
        // calloc of a block this size maps fresh zero pages without writing them, so the
        // untouched part of the matrix costs no memory.
        void* p = std::calloc(kRows * kRowLength, sizeof(float));
        if (!p) throw std::bad_alloc();
        data_.reset(static_cast<float*>(p));
    }
    return data_.get();
}

std::span<float, TSampleMatrix::kRowLength> TSampleMatrix::Row(std::size_t t) {
    return std::span<float, kRowLength>(Data() + t * kRowLength, kRowLength);
}

std::span<const float, TSampleMatrix::kRowLength> TSampleMatrix::Row(std::size_t t) const {
    return std::span<const float, kRowLength>(Data() + t * kRowLength, kRowLength);
}

}  // namespace trelvanox
