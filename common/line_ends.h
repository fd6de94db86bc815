// The line ends of a block of bytes, one after another, found 64 bytes at a time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/byte_masks.h"
#include "common/newline_count.h"

namespace suite {

// Walks the LF and 0x1A bytes of [data, data + size) in order from `from` on.
// One compare pass per 64 bytes gives a mask of them, so a line costs a bit
// scan instead of a call to look for its end (and another for a 0x1A in it).
class LineEnds {
 public:
  LineEnds(const char* data, size_t size, size_t from) : data_(data), size_(size), base_(from) {
    mask_ = base_ < size_ ? BlockMask(base_) : 0;
  }

  // The next LF or 0x1A after the one given before (at or after `from` the
  // first time); `size` when there is none.
  size_t Next() {
    while (mask_ == 0) {
      base_ += 64;
      if (base_ >= size_) return size_;
      mask_ = BlockMask(base_);
    }
    const size_t at = base_ + static_cast<size_t>(__builtin_ctzll(mask_));
    mask_ &= mask_ - 1;
    return at;
  }

 private:
  // Bit i: data[at + i] is an LF or a 0x1A (bits past the end are clear).
  uint64_t BlockMask(size_t at) const {
    const char* p = data_ + at;
    if (at + 64 <= size_) return ByteMask64(p, '\n') | ByteMask64(p, kEndOfText);
    const size_t count = size_ - at;
    return ByteMaskPortable(p, count, '\n') | ByteMaskPortable(p, count, kEndOfText);
  }

  const char* data_;
  size_t size_;
  size_t base_;  // the block the mask is of
  uint64_t mask_;
};

}  // namespace suite
