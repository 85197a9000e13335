// Processed samples in memory straight from the system, as the sample matrix (large pages need
// a privilege users seldom have, so ordinary ones).

#include <windows.h>

#include <algorithm>
#include <new>

#include "processing/sample_buffer.h"

namespace trelvanox {

TSampleBuffer::TSampleBuffer(std::size_t count) : size_(count) {
    const std::size_t bytes = std::max<std::size_t>(count, 1) * sizeof(float);
    void* p = ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!p) throw std::bad_alloc();
    data_ = std::unique_ptr<float, TFree>(static_cast<float*>(p), TFree{bytes});
}

void TSampleBuffer::TFree::operator()(float* p) const {
    ::VirtualFree(p, 0, MEM_RELEASE);
}

}  // namespace trelvanox
