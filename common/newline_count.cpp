#include "common/newline_count.h"

#include <algorithm>

#include "common/byte_masks.h"
#include "common/cpu_features.h"

namespace suite {
namespace {

template <typename Masks>
inline NewlineSearch FindNth(const char* data, size_t length, uint64_t n) {
  uint64_t counted = 0;
  for (size_t at = 0; at < length; at += 64) {
    const size_t count = std::min<size_t>(64, length - at);
    const char* p = data + at;
    uint64_t lines = count == 64 ? Masks::Of(p, '\n') : ByteMaskPortable(p, count, '\n');
    const uint64_t stops = count == 64 ? Masks::Of(p, kEndOfText) : ByteMaskPortable(p, count, kEndOfText);
    if (stops) lines &= (stops & -stops) - 1;  // only the LFs before the first 0x1A
    const auto inBlock = static_cast<uint64_t>(__builtin_popcountll(lines));
    if (counted + inBlock >= n) return {at + NthSetBit(lines, n - counted), n, false};
    counted += inBlock;
    if (stops) return {at + static_cast<size_t>(__builtin_ctzll(stops)), counted, true};
  }
  return {length, counted, false};
}

#if defined(__x86_64__)
__attribute__((target("avx2"), flatten)) NewlineSearch FindNthAvx2(const char* data, size_t length, uint64_t n) {
  return FindNth<Avx2Masks>(data, length, n);
}
#endif

}  // namespace

NewlineSearch FindNthNewline(const char* data, size_t length, uint64_t n) {
#if defined(__x86_64__)
  if (HasAvx2()) return FindNthAvx2(data, length, n);
#endif
  return FindNth<PortableMasks>(data, length, n);
}

}  // namespace suite
