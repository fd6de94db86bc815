// The search's work on one window of the file, apart from its driver
// (line_search.cpp): the parts that run under the cut guard, reading and
// computing only.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/codepage.h"
#include "common/line_quantities.h"
#include "common/tuning.h"

namespace lorvane {

class KeywordMatcher;

namespace window_search {

struct IndexEntry {
  suite::BlockKey key;
  suite::ByteOffset offset;
};

// What a guarded part of a window found: matching lines (window positions)
// and quick-index entries, handed out once the part is done. Sized once for
// the window, so a part never allocates.
struct Findings {
  struct Match {
    suite::LineNumber line;
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
  suite::LineCount completed{0};  // lines whose LF has been passed
  suite::BlockKey nextBlock{1};   // the first block whose start hasn't been passed
  size_t pos = 0;                 // a line start in the window
};

enum class PartEnd { kWindowDone, kFull, kTextEnded };

// Searches the whole lines of data[state.pos, size) of the window at file
// offset `base`, until they end, `findings` is full or the text ends. `last`:
// the file ends with the window, whose last line then counts without LF.
PartEnd SearchPart(const char* data, size_t size, bool last, int64_t base, const KeywordMatcher& matcher,
                   SearchState& state, Findings& findings);

// The whole lines of a window searched on their own, by a worker, while the
// lines before them are searched by others: not knowing how many lines come
// before, it counts its lines from its first, and notes the LF count at the
// offsets a quick index of the file gave for it, so that entries there are
// known without a second pass.
struct AloneResult {
  static constexpr size_t kMatches = suite::kAheadMatches;
  struct Match {
    suite::LineCount linesBefore;  // lines of the window before the matching one
    size_t start;
    size_t size;
  };
  struct Hint {
    suite::BlockKey key;
    size_t pos;                      // in the window
    suite::LineCount linesBefore;    // lines of the window before pos, when it is a line start
    bool lineStart;
  };

  // A window holds at most a line per byte. The room is left uninitialised:
  // only what the matches use of it is ever touched.
  explicit AloneResult(size_t windowCapacity)
      : room(std::min(kMatches, windowCapacity + 1)), matches(new Match[room]) {}
  void Clear() {
    matchCount = 0;
    completed = suite::LineCount{0};
    pos = 0;
    full = textEnded = cut = false;
  }

  size_t room;
  std::unique_ptr<Match[]> matches;
  size_t matchCount = 0;
  std::vector<Hint> hints;         // set before the search, sorted
  suite::LineCount completed{0};   // lines whose LF (or the text's end) was passed
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
