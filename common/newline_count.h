// Bulk newline search over a block of bytes, vectorised where the processor allows.
#pragma once

#include <cstddef>
#include <cstdint>

namespace suite {

// 0x1A ends a text: nothing after it is read.
inline constexpr char kEndOfText = 0x1A;

struct NewlineSearch {
  size_t position;   // of the wanted LF; of the 0x1A when textEnded; else the block's length
  uint64_t counted;  // LFs counted up to and including the wanted one (or before the stop)
  bool textEnded;    // a 0x1A came before the wanted LF
};

// Finds the nth (1-based, n >= 1) LF byte in [data, data + length), stopping
// early at a 0x1A byte; with fewer LFs there, `counted` is their number. One
// pass over the bytes.
NewlineSearch FindNthNewline(const char* data, size_t length, uint64_t n);

}  // namespace suite
