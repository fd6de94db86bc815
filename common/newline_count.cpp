#include "common/newline_count.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "common/cpu_features.h"

namespace suite {
namespace {

// The position of the kth (1-based) set bit of mask; k <= popcount(mask).
inline unsigned NthSetBit(uint64_t mask, uint64_t k) {
  while (--k) mask &= mask - 1;
  return static_cast<unsigned>(__builtin_ctzll(mask));
}

#if defined(__x86_64__)
__attribute__((target("avx2"))) inline uint64_t Mask64(__m256i low, __m256i high, __m256i byte) {
  return static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, byte))) |
         (static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, byte)))) << 32);
}

__attribute__((target("avx2"))) NewlineSearch FindNthNewlineAvx2(const char* data, size_t length, uint64_t n) {
  const __m256i newline = _mm256_set1_epi8('\n');
  const __m256i endOfText = _mm256_set1_epi8(kEndOfText);
  uint64_t counted = 0;
  size_t i = 0;
  for (; i + 64 <= length; i += 64) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + 32));
    uint64_t lines = Mask64(low, high, newline);
    const uint64_t stops = Mask64(low, high, endOfText);
    if (stops) lines &= (stops & -stops) - 1;  // only the LFs before the first 0x1A
    const uint64_t inChunk = static_cast<uint64_t>(__builtin_popcountll(lines));
    if (counted + inChunk >= n) return {i + NthSetBit(lines, n - counted), n, false};
    counted += inChunk;
    if (stops) return {i + static_cast<size_t>(__builtin_ctzll(stops)), counted, true};
  }
  const NewlineSearch tail = FindNthNewlinePortable(data + i, length - i, n - counted);
  return {i + tail.position, counted + tail.counted, tail.textEnded};
}

__attribute__((target("avx2"))) uint64_t CountNewlinesAvx2(const char* data, size_t length) {
  const __m256i newline = _mm256_set1_epi8('\n');
  uint64_t counted = 0;
  size_t i = 0;
  for (; i + 64 <= length; i += 64) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + 32));
    counted += static_cast<uint64_t>(__builtin_popcountll(Mask64(low, high, newline)));
  }
  for (; i < length; ++i) counted += data[i] == '\n';
  return counted;
}

#endif

}  // namespace

NewlineSearch FindNthNewlinePortable(const char* data, size_t length, uint64_t n) {
  uint64_t counted = 0;
  for (size_t i = 0; i < length; ++i) {
    if (data[i] == '\n') {
      if (++counted == n) return {i, counted, false};
    } else if (data[i] == kEndOfText) {
      return {i, counted, true};
    }
  }
  return {length, counted, false};
}

uint64_t CountNewlines(const char* data, size_t length) {
#if defined(__x86_64__)
  if (HasAvx2()) return CountNewlinesAvx2(data, length);
#endif
  uint64_t counted = 0;
  for (size_t i = 0; i < length; ++i) counted += data[i] == '\n';
  return counted;
}

NewlineSearch FindNthNewline(const char* data, size_t length, uint64_t n) {
#if defined(__x86_64__)
  if (HasAvx2()) return FindNthNewlineAvx2(data, length, n);
#endif
  return FindNthNewlinePortable(data, length, n);
}

}  // namespace suite
