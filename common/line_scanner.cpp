#include "common/line_scanner.h"

#include <algorithm>
#include <memory>

#include "common/exclusive_file.h"
#include "common/scan_pipeline.h"
#include "common/window_lines.h"

namespace suite {
namespace {

// The scan across windows, fed one counted window after another.
class LineStarts {
 public:
  LineStarts(int64_t stride, int64_t startOffset, const std::function<void(LineCount, ByteOffset)>& onLineStart)
      : stride_(stride), nextMark_(static_cast<uint64_t>(stride)), pendingOffset_(startOffset), onLineStart_(onLineStart) {}

  // Reports the line starts of a counted window at file offset `base`; false
  // when the file was cut meanwhile.
  bool Take(const WindowLines& count, int64_t base) {
    // A line start is a line only once a byte of the text follows it; line 0
    // starts at the first byte.
    if (pending_ && count.textSize > 0) {
      pending_ = false;
      onLineStart_(LineCount{pendingIndex_}, ByteOffset{pendingOffset_});
    }
    while (nextMark_ <= newlines_ + count.newlines) {
      size_t lf = 0;
      if (!count.FindLf(nextMark_ - newlines_, lf)) return false;
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
  RunOrderedScan(
      workers, file.Size(), ByteOffset{startOffset}, windowSize,
      [&](int) { return std::make_unique<WindowLines>(file, windowSize); },
      [](WindowLines& lines, ByteOffset offset) { lines.Scan(offset.value, false); },
      [&](WindowLines& lines, ByteOffset offset) {
        if (lines.readFailed || !starts.Take(lines, offset.value)) {
          result.readFailed = true;
          result.cut = lines.cut || !lines.readFailed;
          return false;
        }
        return !lines.endOfText && !lines.reachesEnd && lines.textSize == lines.size && lines.size > 0;
      });
  result.lines = starts.Lines();
  return result;
}

}  // namespace suite
