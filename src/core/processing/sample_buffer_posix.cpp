// Processed samples in mapped memory with huge pages, as the sample matrix.

#include <sys/mman.h>

#include <algorithm>
#include <new>

#include "processing/sample_buffer.h"

namespace trelvanox {

TSampleBuffer::TSampleBuffer(std::size_t count) : size_(count) {
    const std::size_t bytes = std::max<std::size_t>(count, 1) * sizeof(float);
    void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    ::madvise(p, bytes, MADV_HUGEPAGE);  // a hint; without it the buffer works all the same
    data_ = std::unique_ptr<float, TFree>(static_cast<float*>(p), TFree{bytes});
}

void TSampleBuffer::TFree::operator()(float* p) const {
    ::munmap(p, Bytes);
}

}  // namespace trelvanox
