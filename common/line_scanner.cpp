#include "common/line_scanner.h"

#include <array>

#include "common/cut_guard.h"
#include "common/exclusive_file.h"
#include "common/file_window.h"
#include "common/newline_count.h"

namespace suite {
namespace {

// Where the scan stands: everything it knows of the text before the window
// position it has reached.
struct ScanState {
  uint64_t newlines = 0;        // LFs of the text so far
  uint64_t nextMarkNewline = 0;  // line k*stride starts after LF number k*stride
  // A line start is a line only once a byte of the text follows it; line 0
  // starts at the first byte.
  bool pending = true;
  int64_t pendingIndex = 0;
  int64_t pendingOffset = 0;
  char lastByte = '\n';
  bool textEnded = false;
};

struct LineStart {
  int64_t index;
  int64_t offset;
};

// Line starts found in one guarded part of a window, handed out afterwards.
constexpr size_t kStartsPerPart = 256;
using FoundStarts = std::array<LineStart, kStartsPerPart>;

// Scans data[from, size) of the window at file offset `base` until its end,
// the end of the text or a full `found`; gives the position reached. Only
// reads and computes: it runs under the cut guard.
size_t ScanPart(const char* data, size_t size, size_t from, int64_t base, int64_t stride, ScanState& state,
                FoundStarts& found, size_t& foundCount) {
  while (from < size && foundCount < found.size()) {
    const NewlineSearch search = FindNthNewline(data + from, size - from, state.nextMarkNewline - state.newlines);
    state.newlines += search.counted;
    const size_t at = from + search.position;
    if (at > from) {
      if (state.pending) {
        found[foundCount++] = {state.pendingIndex, state.pendingOffset};
        state.pending = false;
      }
      state.lastByte = data[at - 1];
    }
    if (search.textEnded) {
      state.textEnded = true;
      return at;
    }
    if (at == size) return size;  // the wanted LF lies further on
    // The LF itself is a byte of the pending line (one start at most is found
    // a round, so there is room).
    if (state.pending) found[foundCount++] = {state.pendingIndex, state.pendingOffset};
    state.lastByte = '\n';
    state.pending = true;
    state.pendingIndex = static_cast<int64_t>(state.newlines);
    state.pendingOffset = base + static_cast<int64_t>(at + 1);
    state.nextMarkNewline += static_cast<uint64_t>(stride);
    from = at + 1;
  }
  return from;
}

}  // namespace

LineScanResult ScanLineStarts(ExclusiveFile& file, int64_t stride,
                              const std::function<void(int64_t, int64_t)>& onLineStart, int64_t startOffset,
                              size_t windowSize) {
  LineScanResult result;
  if (stride < 1) stride = 1;
  FileWindow window(file, windowSize);
  ScanState state;
  state.nextMarkNewline = static_cast<uint64_t>(stride);
  state.pendingOffset = startOffset;
  int64_t offset = startOffset;
  FoundStarts found;

  while (!state.textEnded) {
    if (!window.Load(offset)) {
      result.readFailed = true;
      break;
    }
    const char* data = window.Data();
    const size_t size = window.Size();
    size_t from = 0;
    while (from < size && !state.textEnded) {
      ScanState next = state;
      size_t foundCount = 0;
      size_t reached = from;
      if (!ScanUnlessCut(data, size, [&] { reached = ScanPart(data, size, from, offset, stride, next, found, foundCount); })) {
        result.readFailed = result.cut = true;
        break;
      }
      state = next;
      from = reached;
      for (size_t i = 0; i < foundCount; ++i) onLineStart(found[i].index, found[i].offset);
    }
    if (result.readFailed) break;
    if (state.textEnded) {
      offset += static_cast<int64_t>(from);
      break;
    }
    offset += static_cast<int64_t>(size);
    if (window.ReachesEnd()) break;
  }
  result.contentBytes = offset - startOffset;
  // A last line without LF counts.
  result.lines = static_cast<int64_t>(state.newlines) + (state.lastByte != '\n' ? 1 : 0);
  return result;
}

}  // namespace suite
