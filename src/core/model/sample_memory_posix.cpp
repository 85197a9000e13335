// The matrix's memory on POSIX systems: mapped anonymous memory rather than heap memory so that
// it can ask for huge pages: the first read of a maximal file touches all 409.6 MB, and with
// 4 KiB pages the page faults alone take longer than the read.

#include <sys/mman.h>

#include <new>

#include "model/sample_matrix.h"

namespace trelvanox {

namespace {
constexpr std::size_t kBytes = TSampleMatrix::kRows * TSampleMatrix::kRowLength * sizeof(float);
}

void TSampleMatrix::TFree::operator()(float* p) const {
    ::munmap(p, kBytes);
}

float* TSampleMatrix::Data() const {
    if (!data_) {
        // Fresh zero pages, mapped on first touch: the untouched part costs no memory.
        void* p =
            ::mmap(nullptr, kBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) throw std::bad_alloc();
        ::madvise(p, kBytes, MADV_HUGEPAGE);  // a hint; without it the matrix works all the same
        data_.reset(static_cast<float*>(p));
    }
    return data_.get();
}

}  // namespace trelvanox
