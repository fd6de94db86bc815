// Bulk newline search over a block of bytes, vectorised where the processor allows.
#pragma once

#include <cstddef>
#include <cstdint>

namespace suite {

struct NewlineSearch {
  size_t position;  // of the wanted LF, or the block's length when it wasn't reached
  uint64_t counted; // LFs counted up to and including the wanted one, or all of the block's
};

// Finds the nth (1-based, n >= 1) LF byte in [data, data + length).
NewlineSearch FindNthNewline(const char* data, size_t length, uint64_t n);

// Counts the LF bytes in [data, data + length).
uint64_t CountNewlines(const char* data, size_t length);

// The portable version, for tests that compare it with the vectorised one.
NewlineSearch FindNthNewlinePortable(const char* data, size_t length, uint64_t n);

}  // namespace suite
