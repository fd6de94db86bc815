#include "common/line_scanner.h"

#include "common/aligned_block.h"
#include "common/exclusive_file.h"
#include "common/newline_count.h"

namespace suite {

LineScanResult ScanLineStarts(ExclusiveFile& file, int64_t stride,
                              const std::function<void(int64_t, int64_t)>& onLineStart, int64_t startOffset,
                              size_t blockSize) {
  LineScanResult result;
  if (stride < 1) stride = 1;
  if (blockSize < 1) blockSize = 1;
  AlignedBlock buffer(blockSize);

  uint64_t newlines = 0;                               // LFs of the text so far
  uint64_t nextMarkNewline = static_cast<uint64_t>(stride);  // line k*stride starts after LF number k*stride
  // A line start is a line only once a byte of the text follows it; line 0
  // starts at the first byte.
  bool pending = true;
  int64_t pendingIndex = 0, pendingOffset = startOffset;
  int64_t blockOffset = startOffset;
  char lastByte = '\n';
  bool textEnded = false;

  while (!textEnded) {
    const ssize_t got = file.Read(buffer.get(), blockSize);
    if (got < 0) {
      result.readFailed = true;
      break;
    }
    if (got == 0) break;
    const size_t length = static_cast<size_t>(got);
    size_t from = 0;
    while (from < length) {
      const NewlineSearch found = FindNthNewline(buffer.get() + from, length - from, nextMarkNewline - newlines);
      newlines += found.counted;
      const size_t at = from + found.position;
      if (at > from) {
        if (pending) {
          onLineStart(pendingIndex, pendingOffset);
          pending = false;
        }
        lastByte = buffer[at - 1];
      }
      if (found.textEnded) {
        blockOffset += static_cast<int64_t>(at);
        textEnded = true;
        break;
      }
      if (at == length) {  // the wanted LF lies in a later block
        blockOffset += static_cast<int64_t>(length);
        break;
      }
      if (pending) {  // the LF itself is a byte of the pending line
        onLineStart(pendingIndex, pendingOffset);
      }
      lastByte = '\n';
      pending = true;
      pendingIndex = static_cast<int64_t>(newlines);
      pendingOffset = blockOffset + static_cast<int64_t>(at + 1);
      nextMarkNewline += static_cast<uint64_t>(stride);
      from = at + 1;
      if (from == length) blockOffset += static_cast<int64_t>(length);
    }
  }
  result.contentBytes = blockOffset - startOffset;
  // A last line without LF counts.
  result.lines = static_cast<int64_t>(newlines) + (lastByte != '\n' ? 1 : 0);
  return result;
}

}  // namespace suite
