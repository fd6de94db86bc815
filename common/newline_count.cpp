#include "common/newline_count.h"

#include <cstring>
#include <limits>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace suite {
namespace {

// The position of the kth (1-based) set bit of mask; k <= popcount(mask).
inline unsigned NthSetBit(uint64_t mask, uint64_t k) {
  while (--k) mask &= mask - 1;
  return static_cast<unsigned>(__builtin_ctzll(mask));
}

#if defined(__x86_64__)
__attribute__((target("avx2"))) NewlineSearch FindNthNewlineAvx2(const char* data, size_t length, uint64_t n) {
  const __m256i newline = _mm256_set1_epi8('\n');
  uint64_t counted = 0;
  size_t i = 0;
  for (; i + 64 <= length; i += 64) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + 32));
    const uint64_t mask =
        static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, newline))) |
        (static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, newline)))) << 32);
    const uint64_t inChunk = static_cast<uint64_t>(__builtin_popcountll(mask));
    if (counted + inChunk >= n) return {i + NthSetBit(mask, n - counted), n};
    counted += inChunk;
  }
  const NewlineSearch tail = FindNthNewlinePortable(data + i, length - i, n - counted);
  return {i + tail.position, counted + tail.counted};
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#endif

}  // namespace

NewlineSearch FindNthNewlinePortable(const char* data, size_t length, uint64_t n) {
  uint64_t counted = 0;
  const char* at = data;
  const char* end = data + length;
  while (at < end) {
    const void* found = std::memchr(at, '\n', static_cast<size_t>(end - at));
    if (!found) break;
    const char* lf = static_cast<const char*>(found);
    if (++counted == n) return {static_cast<size_t>(lf - data), counted};
    at = lf + 1;
  }
  return {length, counted};
}

NewlineSearch FindNthNewline(const char* data, size_t length, uint64_t n) {
#if defined(__x86_64__)
  if (HasAvx2()) return FindNthNewlineAvx2(data, length, n);
#endif
  return FindNthNewlinePortable(data, length, n);
}

uint64_t CountNewlines(const char* data, size_t length) {
  return FindNthNewline(data, length, std::numeric_limits<uint64_t>::max()).counted;
}

}  // namespace suite
