#include "common/newline_count.h"

#include "common/byte_masks.h"
#include "common/cpu_features.h"

namespace suite {
namespace {

#if defined(__x86_64__)
__attribute__((target("avx2"))) NewlineSearch FindNthNewlineAvx2(const char* data, size_t length, uint64_t n) {
  uint64_t counted = 0;
  size_t i = 0;
  for (; i + 64 <= length; i += 64) {
    uint64_t lines = ByteMask64Avx2(data + i, '\n');
    const uint64_t stops = ByteMask64Avx2(data + i, kEndOfText);
    if (stops) lines &= (stops & -stops) - 1;  // only the LFs before the first 0x1A
    const uint64_t inChunk = static_cast<uint64_t>(__builtin_popcountll(lines));
    if (counted + inChunk >= n) return {i + NthSetBit(lines, n - counted), n, false};
    counted += inChunk;
    if (stops) return {i + static_cast<size_t>(__builtin_ctzll(stops)), counted, true};
  }
  const NewlineSearch tail = FindNthNewlinePortable(data + i, length - i, n - counted);
  return {i + tail.position, counted + tail.counted, tail.textEnded};
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

NewlineSearch FindNthNewline(const char* data, size_t length, uint64_t n) {
#if defined(__x86_64__)
  if (HasAvx2()) return FindNthNewlineAvx2(data, length, n);
#endif
  return FindNthNewlinePortable(data, length, n);
}

}  // namespace suite
