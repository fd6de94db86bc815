#include "common/window_lines.h"

#include <algorithm>

#include "common/byte_masks.h"
#include "common/cpu_features.h"
#include "common/cut_guard.h"
#include "common/newline_count.h"

namespace suite {
namespace {

// One pass over the window's bytes, 64 at a time, for the masks of its LFs
// and 0x1A bytes, and of its CRs with kLoneLfs: an LF whose bit has no CR bit
// right before it is lone.
template <typename Masks, bool kLoneLfs>
inline void FindLineEnds(const char* data, size_t size, WindowLines& lines) {
  uint64_t crCarry = 1;  // the byte before the window is the window before's concern
  uint64_t nextMark = kLfMarkEvery;
  for (size_t at = 0; at < size; at += 64) {
    const size_t count = std::min<size_t>(64, size - at);
    const char* p = data + at;
    uint64_t lf = count == 64 ? Masks::Of(p, '\n') : ByteMaskPortable(p, count, '\n');
    uint64_t cr = 0;
    if constexpr (kLoneLfs) cr = count == 64 ? Masks::Of(p, '\r') : ByteMaskPortable(p, count, '\r');
    const uint64_t stops = count == 64 ? Masks::Of(p, kEndOfText) : ByteMaskPortable(p, count, kEndOfText);
    if (stops) {
      const uint64_t before = (stops & -stops) - 1;
      lf &= before;
      cr &= before;
    }
    if constexpr (kLoneLfs) {
      if (lf & ~((cr << 1) | crCarry)) lines.loneLf = true;
      crCarry = cr >> 63;
    }
    const uint64_t inBlock = static_cast<uint64_t>(__builtin_popcountll(lf));
    if (lines.newlines + inBlock >= nextMark) {  // 64 bytes hold fewer LFs than a mark's stride
      lines.marks[lines.markCount++] = static_cast<uint32_t>(at + NthSetBit(lf, nextMark - lines.newlines));
      nextMark += kLfMarkEvery;
    }
    lines.newlines += inBlock;
    if (stops) {
      lines.textSize = at + static_cast<size_t>(__builtin_ctzll(stops));
      lines.endOfText = true;
      return;
    }
  }
  lines.textSize = size;
}

#if defined(__x86_64__)
template <bool kLoneLfs>
__attribute__((target("avx2"), flatten)) void FindLineEndsAvx2(const char* data, size_t size, WindowLines& lines) {
  FindLineEnds<Avx2Masks, kLoneLfs>(data, size, lines);
}
#endif

// The pass for this processor, with or without the lone LFs.
template <bool kLoneLfs>
void FindLineEndsHere(const char* data, size_t size, WindowLines& lines) {
#if defined(__x86_64__)
  if (HasAvx2()) return FindLineEndsAvx2<kLoneLfs>(data, size, lines);
#endif
  FindLineEnds<PortableMasks, kLoneLfs>(data, size, lines);
}

}  // namespace

void WindowLines::Scan(int64_t offset, bool loneLfs) {
  markCount = 0;
  newlines = 0;
  size = textSize = 0;
  endOfText = reachesEnd = loneLf = lfFirst = readFailed = cut = false;
  if (!window.Load(offset)) {
    readFailed = true;
    cut = window.WasCut();
    return;
  }
  const char* data = window.Data();
  size = window.Size();
  reachesEnd = window.ReachesEnd();
  const bool read = ScanUnlessCut(data, size, [&] {
    (loneLfs ? FindLineEndsHere<true> : FindLineEndsHere<false>)(data, size, *this);
    lfFirst = textSize > 0 && data[0] == '\n';
    if (textSize > 0) lastByte = data[textSize - 1];
  });
  if (!read) readFailed = cut = true;
}

bool WindowLines::FindLf(uint64_t n, size_t& position) const {
  const uint64_t mark = (n - 1) / kLfMarkEvery;
  const size_t from = mark == 0 ? 0 : marks[mark - 1] + 1;
  const char* data = window.Data();
  return ScanUnlessCut(data, textSize, [&] {
    position = from + FindNthNewline(data + from, textSize - from, n - mark * kLfMarkEvery).position;
  });
}

}  // namespace suite
