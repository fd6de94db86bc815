#include "common/line_scanner.h"

#include <cstring>
#include <memory>

#include "common/exclusive_file.h"
#include "common/newline_count.h"

namespace suite {

LineScanResult ScanLineStarts(ExclusiveFile& file, int64_t stride,
                              const std::function<void(int64_t, int64_t)>& onLineStart, int64_t startOffset,
                              size_t blockSize) {
  LineScanResult result;
  if (stride < 1) stride = 1;
  if (blockSize < 1) blockSize = 1;
  std::unique_ptr<char[]> buffer(new char[blockSize]);

  uint64_t newlines = 0;                         // LFs seen so far
  uint64_t nextMarkNewline = 0;                  // line k*stride starts after LF number k*stride
  int64_t pendingIndex = 0, pendingOffset = 0;   // a line start that is a line only if a byte follows
  bool pending = true;                           // line 0 starts at the first byte, if there is one
  int64_t blockOffset = startOffset;
  bool textEnded = false;
  pendingOffset = startOffset;
  nextMarkNewline = static_cast<uint64_t>(stride);

  while (!textEnded) {
    const ssize_t got = file.Read(buffer.get(), blockSize);
    if (got < 0) {
      result.readFailed = true;
      break;
    }
    if (got == 0) break;
    size_t length = static_cast<size_t>(got);
    if (const void* eof = std::memchr(buffer.get(), 0x1A, length)) {
      length = static_cast<size_t>(static_cast<const char*>(eof) - buffer.get());
      textEnded = true;
    }
    if (length == 0) break;
    if (pending) {  // a byte follows the pending line start: that line exists
      onLineStart(pendingIndex, pendingOffset);
      pending = false;
    }
    size_t from = 0;
    while (from < length) {
      const NewlineSearch found = FindNthNewline(buffer.get() + from, length - from, nextMarkNewline - newlines);
      newlines += found.counted;
      if (found.position == length - from) break;  // the wanted LF lies in a later block
      const size_t next = from + found.position + 1;
      const int64_t index = static_cast<int64_t>(newlines);
      const int64_t offset = blockOffset + static_cast<int64_t>(next);
      nextMarkNewline += static_cast<uint64_t>(stride);
      if (next < length) {
        onLineStart(index, offset);
      } else {
        pending = true;
        pendingIndex = index;
        pendingOffset = offset;
      }
      from = next;
    }
    blockOffset += static_cast<int64_t>(length);
    result.contentBytes = blockOffset - startOffset;
    // A last line without LF counts: the text's last byte decides.
    result.lines = static_cast<int64_t>(newlines) + (buffer[length - 1] != '\n' ? 1 : 0);
  }
  return result;
}

}  // namespace suite
