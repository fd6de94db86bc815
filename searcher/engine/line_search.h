// Runs a keyword over a whole file, block by block, and hands out matching lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/tuning.h"

namespace suite {
class ExclusiveFile;
}

namespace lorvane {

class KeywordMatcher;
class QuickIndex;

// Receives the search's findings in file order.
class LineSink {
 public:
  virtual ~LineSink() = default;
  // A matching line (1-based number, text without its line end); false stops the search.
  virtual bool OnMatch(int64_t lineNumber, std::string_view text) = 0;
  // Called once for every line number that is a multiple of the checkpoint
  // stride, before that line is tested (so the matches counted so far are
  // those of the lines before it).
  virtual void OnCheckpoint(int64_t linesRead) = 0;
};

struct LineSearchResult {
  int64_t linesRead = 0;
  bool readFailed = false;
  bool stopped = false;  // the sink asked to stop
};

// Lines are never materialised unless a candidate lies in them: line numbers
// are counted in bulk between candidates. Text model as LineReader's. The file
// is read from offset 0 on.
//
// With `index`, it is filled with the quick index of the file as this search
// read it: the offset of line k * 10000 + 1 for every block of lines started,
// found only where the count of lines passes a multiple of 10000. A search
// that stops early leaves it incomplete.
LineSearchResult SearchLines(suite::ExclusiveFile& file, const KeywordMatcher& matcher, LineSink& sink,
                             int64_t checkpointStride = suite::kQuickIndexStride,
                             size_t blockSize = suite::kReadBlockSize, QuickIndex* index = nullptr);

}  // namespace lorvane
