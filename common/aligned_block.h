// A page-aligned read buffer: the kernel copies into aligned memory fastest.
#pragma once

#include <cstddef>
#include <new>

namespace suite {

class AlignedBlock {
 public:
  // A memory page; the block starts on one.
  static constexpr size_t kPageSize = 4096;

  explicit AlignedBlock(size_t size) : size_(size) {
    const size_t rounded = (size + kPageSize - 1) / kPageSize * kPageSize;
    // The aligned operator new, not aligned_alloc: every C++ library has it.
    data_ = static_cast<char*>(::operator new(rounded, std::align_val_t{kPageSize}));
  }
  ~AlignedBlock() { ::operator delete(data_, std::align_val_t{kPageSize}); }
  AlignedBlock(const AlignedBlock&) = delete;
  AlignedBlock& operator=(const AlignedBlock&) = delete;

  char* get() { return data_; }
  char& operator[](size_t index) { return data_[index]; }
  size_t size() const { return size_; }

 private:
  char* data_;
  size_t size_;
};

}  // namespace suite
