// The text model of every reader in the suite, written once: a line ends at
// its LF; a CR right before the LF belongs to the line end, any other CR to
// the text; a 0x1A ends the text; a last line without LF counts; NUL bytes
// are ordinary bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>  // memrchr

#include "common/byte_masks.h"
#include "common/newline_count.h"

namespace suite {

// Where the line that runs through data[from, size) ends in those bytes.
struct LineEnd {
  size_t at = 0;          // its LF, the 0x1A that ends the text, or `size`: the line goes on
  bool atLf = false;
  bool endsText = false;  // at a 0x1A
};

inline LineEnd FindLineEnd(const char* data, size_t from, size_t size) {
  // One pass for both: the first LF, or a 0x1A before it.
  const NewlineSearch found = FindNthNewline(data + from, size - from, 1);
  return {from + found.position, found.counted == 1, found.textEnded};
}

// The last LF of data[0, size), or nullptr, walking back 64 bytes at a time.
inline const char* FindLastNewlinePortable(const char* data, size_t size) {
  size_t end = size;
  for (; end >= 64; end -= 64) {
    if (const uint64_t mask = ByteMask64(data + end - 64, '\n')) return data + end - 64 + (63 - __builtin_clzll(mask));
  }
  for (; end > 0; --end) {
    if (data[end - 1] == '\n') return data + end - 1;
  }
  return nullptr;
}

// The same through glibc's memrchr where there is one (an extension).
inline const char* FindLastNewline(const char* data, size_t size) {
#if defined(__GLIBC__)
  return static_cast<const char*>(::memrchr(data, '\n', size));
#else
  return FindLastNewlinePortable(data, size);
#endif
}

// Where the text of a line that starts at `lineStart` and ends at `end`
// ends: before the CR of its CR LF.
inline size_t LineTextEnd(const char* data, size_t lineStart, const LineEnd& end) {
  return end.atLf && end.at > lineStart && data[end.at - 1] == '\r' ? end.at - 1 : end.at;
}

}  // namespace suite
