// The matrix's memory on Windows: committed virtual memory, whose pages the system hands out
// zeroed on first touch, so the untouched part of the 409.6 MB costs no physical memory (it
// counts against the commit limit, as the whole matrix can be filled).

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <new>

#include "model/sample_matrix.h"

namespace trelvanox {

namespace {
constexpr std::size_t kBytes = TSampleMatrix::kRows * TSampleMatrix::kRowLength * sizeof(float);
}

void TSampleMatrix::TFree::operator()(float* p) const {
    ::VirtualFree(p, 0, MEM_RELEASE);
}

float* TSampleMatrix::Data() const {
    if (!data_) {
        void* p = ::VirtualAlloc(nullptr, kBytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (!p) throw std::bad_alloc();
        data_.reset(static_cast<float*>(p));
    }
    return data_.get();
}

}  // namespace trelvanox
