// The quantities of a file's lines, each a type of its own: a line number
// can't be taken for a count, nor a block key for a byte offset, and the
// conversions between them are written here once.
#pragma once

#include <compare>
#include <cstdint>

#include "common/tuning.h"

namespace suite {

template <typename Tag>
struct Quantity {
  int64_t value = 0;

  constexpr Quantity() = default;
  explicit constexpr Quantity(int64_t v) : value(v) {}
  friend constexpr auto operator<=>(Quantity, Quantity) = default;
};

// A line's number, from 1.
using LineNumber = Quantity<struct LineNumberTag>;
// A number of lines; also the 0-based index of the line after them.
using LineCount = Quantity<struct LineCountTag>;
// A block of the quick index: block k holds lines k * 10000 + 1 to (k + 1) * 10000.
using BlockKey = Quantity<struct BlockKeyTag>;
// A byte's position in a file, from 0.
using ByteOffset = Quantity<struct ByteOffsetTag>;

// The block a line lies in.
constexpr BlockKey BlockOfLine(LineNumber line) { return BlockKey{(line.value - 1) / kQuickIndexStride}; }
// The block of the line that follows `lines` lines.
constexpr BlockKey BlockAfter(LineCount lines) { return BlockKey{lines.value / kQuickIndexStride}; }
// The lines before a block's first line.
constexpr LineCount LinesBeforeBlock(BlockKey key) { return LineCount{key.value * kQuickIndexStride}; }
// A block's first line.
constexpr LineNumber FirstLineOfBlock(BlockKey key) { return LineNumber{key.value * kQuickIndexStride + 1}; }
// The last block of a text of `lines` lines; -1 when it has none.
constexpr BlockKey LastBlock(LineCount lines) {
  return BlockKey{lines.value <= 0 ? -1 : (lines.value - 1) / kQuickIndexStride};
}

}  // namespace suite
