// The line ends of a block of bytes, one after another, found 64 bytes at a time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/newline_count.h"

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace cleavora {

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
#if defined(__x86_64__)
    if (at + 64 <= size_) {
      const __m128i lf = _mm_set1_epi8('\n');
      const __m128i eot = _mm_set1_epi8(suite::kEndOfText);
      uint64_t mask = 0;
      for (int part = 0; part < 4; ++part) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
        const __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, eot));
        mask |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(hits))) << (16 * part);
      }
      return mask;
    }
#endif
    const size_t count = size_ - at < 64 ? size_ - at : 64;
    uint64_t mask = 0;
    for (size_t i = 0; i < count; ++i) {
      if (p[i] == '\n' || p[i] == suite::kEndOfText) mask |= uint64_t{1} << i;
    }
    return mask;
  }

  const char* data_;
  size_t size_;
  size_t base_;  // the block the mask is of
  uint64_t mask_;
};

}  // namespace cleavora
