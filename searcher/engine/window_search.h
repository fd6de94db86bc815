// The search's work on one window of the file, apart from its driver
// (line_search.cpp): the parts that run under the cut guard, reading and
// computing only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/codepage.h"
#include "common/tuning.h"

namespace lorvane {

class KeywordMatcher;

namespace window_search {

struct IndexEntry {
  int64_t key;
  int64_t offset;
};

// What a guarded part of a window found: matching lines (window positions)
// and quick-index entries, handed out once the part is done. Sized once for
// the window, so a part never allocates.
struct Findings {
  struct Match {
    int64_t lineNumber;
    size_t start;
    size_t size;
  };
  static constexpr size_t kMatches = suite::kPartMatches;

  explicit Findings(size_t windowCapacity) : entries(windowCapacity / suite::kQuickIndexStride + 4) {}
  void Clear() { matchCount = entryCount = 0; }
  bool Full() const { return matchCount == kMatches; }

  std::array<Match, kMatches> matches;
  size_t matchCount = 0;
  std::vector<IndexEntry> entries;
  size_t entryCount = 0;
};

// Where the search stands: committed only when a guarded part ends well.
struct SearchState {
  int64_t completed = 0;                        // lines whose LF has been passed
  int64_t nextBlock = suite::kQuickIndexStride;  // the count of lines after which the next block starts
  size_t pos = 0;                               // a line start in the window
};

enum class PartEnd { kWindowDone, kFull, kTextEnded };

// Searches the whole lines of data[state.pos, size) of the window at file
// offset `base`, until they end, `findings` is full or the text ends. `last`:
// the file ends with the window, whose last line then counts without LF.
PartEnd SearchPart(const char* data, size_t size, bool last, int64_t base, const KeywordMatcher& matcher,
                   SearchState& state, Findings& findings);

// A window searched on its own, on another thread, while the window before it
// is searched: line numbers count from the window's first line, and the LF
// count is noted at the offsets a quick index of the file gave for it, so
// that entries there are known without a second pass.
struct AloneResult {
  static constexpr size_t kMatches = suite::kAheadMatches;
  struct Hint {
    int64_t key;
    size_t pos;           // in the window
    int64_t lfsBefore;    // LFs of the window before pos; -1 when it isn't a line start
  };

  AloneResult() : matches(kMatches) {}
  void Clear() {
    matchCount = 0;
    completed = 0;
    pos = 0;
    full = textEnded = cut = false;
  }

  std::vector<Findings::Match> matches;
  size_t matchCount = 0;
  std::vector<Hint> hints;  // set before the search, sorted
  int64_t completed = 0;    // lines whose LF (or the text's end) was passed
  size_t pos = 0;           // a line start: where the search stopped
  bool full = false;        // ... for want of room; the rest is searched later
  bool textEnded = false;   // ... at a 0x1A
  bool cut = false;
};

// The whole lines of the window data[0, size): a window that holds no LF
// gives pos 0. Runs itself under the cut guard.
void SearchAlone(const char* data, size_t size, const KeywordMatcher& matcher, AloneResult& result);



}  // namespace window_search
}  // namespace lorvane
