#include "common/line_scanner.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "common/cut_guard.h"
#include "common/exclusive_file.h"
#include "common/file_window.h"
#include "common/newline_count.h"
#include "common/scan_pipeline.h"

namespace suite {
namespace {

// What a first pass over one window found: its LFs (every kLfMarkEvery-th
// noted), how far its text goes, and its last byte of text.
struct WindowCount {
  explicit WindowCount(size_t capacity) : marks(capacity / kLfMarkEvery + 2) {}

  std::vector<uint32_t> marks;  // position of LF number kLfMarkEvery * (i + 1)
  size_t markCount = 0;
  uint64_t newlines = 0;
  size_t textSize = 0;  // bytes before the end of the window or its 0x1A
  bool endOfText = false;
  char lastByte = '\n';
  bool readFailed = false;
  bool cut = false;
};

// Loads the window at `offset` and counts it; only reads and computes under the guard.
void CountWindow(FileWindow& window, int64_t offset, WindowCount& count) {
  count.markCount = 0;
  count.newlines = 0;
  count.textSize = 0;
  count.endOfText = count.readFailed = count.cut = false;
  if (!window.Load(offset)) {
    count.readFailed = true;
    count.cut = window.WasCut();
    return;
  }
  const char* data = window.Data();
  const size_t size = window.Size();
  const bool counted = ScanUnlessCut(data, size, [&] {
    size_t from = 0;
    while (from < size) {
      const NewlineSearch search = FindNthNewline(data + from, size - from, kLfMarkEvery);
      count.newlines += search.counted;
      const size_t at = from + search.position;
      if (search.textEnded) {
        count.textSize = at;
        count.endOfText = true;
        break;
      }
      if (at == size) {
        count.textSize = size;
        break;
      }
      count.marks[count.markCount++] = static_cast<uint32_t>(at);
      from = at + 1;
      count.textSize = from;
    }
    if (count.textSize > 0) count.lastByte = data[count.textSize - 1];
  });
  if (!counted) count.readFailed = count.cut = true;
}

// The scan across windows, fed one counted window after another.
class LineStarts {
 public:
  LineStarts(int64_t stride, int64_t startOffset, const std::function<void(LineCount, ByteOffset)>& onLineStart)
      : stride_(stride), nextMark_(static_cast<uint64_t>(stride)), pendingOffset_(startOffset), onLineStart_(onLineStart) {}

  // Reports the line starts of a counted window at file offset `base`; false
  // when the file was cut meanwhile.
  bool Take(const FileWindow& window, const WindowCount& count, int64_t base) {
    // A line start is a line only once a byte of the text follows it; line 0
    // starts at the first byte.
    if (pending_ && count.textSize > 0) {
      pending_ = false;
      onLineStart_(LineCount{pendingIndex_}, ByteOffset{pendingOffset_});
    }
    while (nextMark_ <= newlines_ + count.newlines) {
      const uint64_t wanted = nextMark_ - newlines_;  // within the window, from 1
      const uint64_t mark = (wanted - 1) / kLfMarkEvery;
      const size_t from = mark == 0 ? 0 : count.marks[mark - 1] + 1;
      size_t lf = 0;
      const char* data = window.Data();
      if (!ScanUnlessCut(data, count.textSize, [&] {
            lf = from + FindNthNewline(data + from, count.textSize - from, wanted - mark * kLfMarkEvery).position;
          })) {
        return false;
      }
      const int64_t lineStart = base + static_cast<int64_t>(lf) + 1;
      if (lf + 1 < count.textSize) {
        onLineStart_(LineCount{static_cast<int64_t>(nextMark_)}, ByteOffset{lineStart});
      } else {
        pending_ = true;
        pendingIndex_ = static_cast<int64_t>(nextMark_);
        pendingOffset_ = lineStart;
      }
      nextMark_ += static_cast<uint64_t>(stride_);
    }
    newlines_ += count.newlines;
    if (count.textSize > 0) lastByte_ = count.lastByte;
    return true;
  }

  // A last line without LF counts.
  int64_t Lines() const { return static_cast<int64_t>(newlines_) + (lastByte_ != '\n' ? 1 : 0); }

 private:
  const int64_t stride_;
  uint64_t nextMark_;  // line k*stride starts after LF number k*stride
  uint64_t newlines_ = 0;
  bool pending_ = true;
  int64_t pendingIndex_ = 0;
  int64_t pendingOffset_;
  char lastByte_ = '\n';
  const std::function<void(LineCount, ByteOffset)>& onLineStart_;
};

}  // namespace

LineScanResult ScanLineStarts(ExclusiveFile& file, int64_t stride,
                              const std::function<void(LineCount, ByteOffset)>& onLineStart, int64_t startOffset,
                              size_t windowSize, int workers) {
  LineScanResult result;
  if (stride < 1) stride = 1;
  windowSize = std::max<size_t>(windowSize, 1);
  LineStarts starts(stride, startOffset, onLineStart);
  // Windows are counted by as many workers as there are windows, up to the
  // number asked for: counting is bound by the reading of memory, which one
  // core alone doesn't saturate here. The line starts are taken in order.
  const int64_t windows = std::max<int64_t>(0, file.Size() - startOffset) / static_cast<int64_t>(windowSize) + 1;
  workers = static_cast<int>(std::clamp<int64_t>(workers, 1, windows));
  std::vector<std::unique_ptr<FileWindow>> slotWindows;
  std::vector<WindowCount> counts(static_cast<size_t>(workers), WindowCount(windowSize));
  for (int slot = 0; slot < workers; ++slot) slotWindows.push_back(std::make_unique<FileWindow>(file, windowSize));

  RunOrderedScan(
      workers, startOffset, static_cast<int64_t>(windowSize),
      [&](int slot, int64_t offset) { CountWindow(*slotWindows[static_cast<size_t>(slot)], offset, counts[static_cast<size_t>(slot)]); },
      [&](int slot, int64_t offset) {
        const FileWindow& window = *slotWindows[static_cast<size_t>(slot)];
        const WindowCount& count = counts[static_cast<size_t>(slot)];
        if (count.readFailed || !starts.Take(window, count, offset)) {
          result.readFailed = true;
          result.cut = count.cut || !count.readFailed;
          return false;
        }
        result.contentBytes += static_cast<int64_t>(count.textSize);
        return !count.endOfText && !window.ReachesEnd() && count.textSize == window.Size() && window.Size() > 0;
      });
  result.lines = starts.Lines();
  return result;
}

}  // namespace suite
