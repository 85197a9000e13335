#pragma once

#include <cstddef>
#include <memory>
#include <utility>

namespace trelvanox {

// Uninitialised memory for count processed samples. A whole profile takes 400 MB, and fresh
// memory of ordinary 4 KiB pages costs a page fault each on first touch, many times the
// processing itself on a virtual machine; so, like the sample matrix, it is mapped memory that
// asks the system for huge pages (sample_buffer_posix.cpp, sample_buffer_win32.cpp).
class TSampleBuffer {
  public:
    TSampleBuffer() = default;
    explicit TSampleBuffer(std::size_t count);
    TSampleBuffer(TSampleBuffer&& other) noexcept
        : data_(std::move(other.data_)), size_(std::exchange(other.size_, 0)) {}
    TSampleBuffer& operator=(TSampleBuffer&& other) noexcept {
        data_ = std::move(other.data_);
        size_ = std::exchange(other.size_, 0);
        return *this;
    }

    float* Data() const { return data_.get(); }
    std::size_t Size() const { return size_; }

  private:
    struct TFree {
        std::size_t Bytes;
        void operator()(float* p) const;
    };
    std::unique_ptr<float, TFree> data_;
    std::size_t size_ = 0;
};

}  // namespace trelvanox
