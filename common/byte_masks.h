// Masks of chosen bytes in 64-byte blocks: bit i is set when byte i is the
// byte asked for. Every scan that walks line ends takes its masks from here.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace suite {

// Bytes [0, count) of p, count <= 64; the bits from count on are clear.
inline uint64_t ByteMaskPortable(const char* p, size_t count, char byte) {
  uint64_t mask = 0;
  for (size_t i = 0; i < count; ++i) mask |= uint64_t{p[i] == byte} << i;
  return mask;
}

#if defined(__x86_64__)
// For callers built for AVX2 themselves (their own target attribute), chosen
// after HasAvx2() (cpu_features.h): only there does this inline into them.
// Two masks of the same block in one caller share its loads.
__attribute__((target("avx2"))) inline uint64_t ByteMask64Avx2(const char* p, char byte) {
  const __m256i wanted = _mm256_set1_epi8(byte);
  const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
  return static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, wanted))) |
         (static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, wanted)))) << 32);
}
#endif

// The 64 bytes at p, on any processor of the build's target: SSE2 on x86-64
// (its baseline, so it inlines into every caller), bytewise elsewhere.
inline uint64_t ByteMask64(const char* p, char byte) {
#if defined(__x86_64__)
  const __m128i wanted = _mm_set1_epi8(byte);
  uint64_t mask = 0;
  for (int part = 0; part < 4; ++part) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
    mask |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted)))) << (16 * part);
  }
  return mask;
#else
  return ByteMaskPortable(p, 64, byte);
#endif
}

// The masks of a 64-byte block for a scan's loop written once for both:
// SSE2 on any processor of the build's target, AVX2 in a caller built for it.
struct PortableMasks {
  static uint64_t Of(const char* p, char byte) { return ByteMask64(p, byte); }
};
#if defined(__x86_64__)
struct Avx2Masks {
  __attribute__((target("avx2"))) static uint64_t Of(const char* p, char byte) { return ByteMask64Avx2(p, byte); }
};
#endif

// The position of the kth (1-based) set bit of mask; k <= popcount(mask).
inline unsigned NthSetBit(uint64_t mask, uint64_t k) {
  while (--k) mask &= mask - 1;
  return static_cast<unsigned>(__builtin_ctzll(mask));
}

}  // namespace suite
