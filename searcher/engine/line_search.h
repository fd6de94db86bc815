// Runs a keyword over a whole file, window by window, and hands out matching lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/line_quantities.h"
#include "common/scan_pipeline.h"
#include "common/tuning.h"

namespace suite {
class ExclusiveFile;
class OutputFile;
}  // namespace suite

namespace lorvane {

class KeywordMatcher;
class QuickIndex;

// A matching line, still in the searched file: its bytes (without the line
// end) are copied out on demand, under the cut guard, window by window when
// the line is longer than one. Valid during the OnMatch call only.
class FoundLine {
 public:
  size_t Size() const { return size_; }
  // Copies the Size() bytes to `out`; false when the file was cut meanwhile.
  bool CopyTo(char* out) const;
  // Appends the bytes to `file`; false when the file was cut meanwhile or the
  // write failed (`file` then says so).
  bool AppendTo(suite::OutputFile& file) const;
  // The file was cut while the line was copied.
  bool WasCut() const { return cut_; }

  // In the current window (`bytes`), or anywhere in `file` from `offset` on.
  FoundLine(const char* bytes, size_t size) : bytes_(bytes), size_(size) {}
  FoundLine(suite::ExclusiveFile& file, int64_t offset, size_t size) : file_(&file), offset_(offset), size_(size) {}

 private:
  template <typename Take>
  bool EachPiece(Take&& take) const;

  const char* bytes_ = nullptr;
  suite::ExclusiveFile* file_ = nullptr;
  int64_t offset_ = 0;
  size_t size_ = 0;
  mutable bool cut_ = false;
};

// Receives the search's findings in file order.
class LineSink {
 public:
  virtual ~LineSink() = default;
  // A matching line; false stops the search.
  virtual bool OnMatch(suite::LineNumber line, const FoundLine& found) = 0;
  // Called once for every line number that is a multiple of the checkpoint
  // stride, before that line is tested (so the matches counted so far are
  // those of the lines before it).
  virtual void OnCheckpoint(suite::LineNumber line) = 0;
};

struct LineSearchResult {
  suite::LineCount linesRead{0};
  // Where the text the search read ends: at the file's end as its last window
  // saw it, or at a 0x1A (after a search that read to the end).
  suite::ByteOffset textEnd{0};
  bool readFailed = false;
  bool cut = false;      // ... because the file was cut while it was read
  bool stopped = false;  // the sink asked to stop
};

// Where a search starts: a line start and the count of the lines before it,
// for a search that goes on from where an earlier one of the same file
// stopped. An index given to it keeps its entries of the blocks that start
// before the search's start, and gets the rest.
struct SearchStart {
  suite::ByteOffset offset{0};
  suite::LineCount linesBefore{0};
};

// Lines are never materialised unless a candidate lies in them: line numbers
// are counted in bulk between candidates, and a line longer than a window
// costs nothing unless it matches. Text model: text_model.h. The file is
// seen from offset 0 on through mapped windows of `windowSize` (at least twice
// the keyword).
//
// With `index`, it is filled with the quick index of the file as this search
// read it: the offset of line k * 10000 + 1 for every block of lines started,
// found only where the count of lines passes a multiple of 10000. A search
// that stops early leaves it incomplete. `hints`, a quick index of the file
// from before (its pre-read's), lets the helper thread confirm entries where
// the file hasn't changed instead of looking for them again.
//
// The file's windows are searched by `workers` at once (scan_pipeline.h),
// each over the whole lines that start in it; the lines across two windows
// are searched here, and the sink is called on the caller's thread only, in
// file order.
LineSearchResult SearchLines(suite::ExclusiveFile& file, const KeywordMatcher& matcher, LineSink& sink,
                             int64_t checkpointStride = suite::kQuickIndexStride,
                             size_t windowSize = suite::kMapWindowSize, QuickIndex* index = nullptr,
                             const QuickIndex* hints = nullptr, int workers = suite::ScanWorkers(),
                             SearchStart start = {});

}  // namespace lorvane
