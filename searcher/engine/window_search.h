// The search's work on one window of the file, apart from its driver
// (line_search.cpp): the parts that run under the cut guard, reading and
// computing only.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/codepage.h"
#include "common/line_quantities.h"
#include "common/tuning.h"

namespace lorvane {

class KeywordMatcher;

namespace window_search {

// Matching lines a guarded part of a window found (window positions), handed
// out once the part is done. Sized once, so a part never allocates; the room
// is touched only as far as used.
struct Findings {
  struct Match {
    suite::LineCount linesBefore;  // in the count of the search state that found it
    size_t start;
    size_t size;
  };

  // Reserved, not filled: a room of 65536 costs only the matches made.
  explicit Findings(size_t matchRoom) : room(matchRoom) { matches.reserve(room); }
  bool Full() const { return matches.size() == room; }

  size_t room;
  std::vector<Match> matches;
};

// Where the search of a window stands: committed only when a guarded part
// ends well.
struct SearchState {
  suite::LineCount completed{0};  // lines whose LF has been passed
  size_t pos = 0;                 // a line start in the window
};

enum class PartEnd { kWindowDone, kFull, kTextEnded };

// The whole lines of a window searched on their own, by a worker, while the
// lines before them are searched by others: not knowing how many lines come
// before, it counts its lines from its first and finds no index entries, but
// notes the line count at the offsets a quick index of the file gave for it,
// so that entries there are known without a second pass.
struct AloneResult {
  struct Hint {
    suite::BlockKey key;
    size_t pos;                    // in the window
    suite::LineCount linesBefore;  // lines of the window before pos, when it is a line start
    bool lineStart;
  };

  // A window holds at most a line per byte.
  AloneResult(size_t windowCapacity, size_t matchRoom) : findings(std::min(matchRoom, windowCapacity + 1)) {}

  Findings findings;
  std::vector<Hint> hints;  // set before the search, sorted
  SearchState state;        // completed: lines whose LF (or the text's end) was passed; pos: where it stopped
  PartEnd end = PartEnd::kWindowDone;  // kFull: the rest is searched again from state.pos
  bool cut = false;
};

// The whole lines of the window data[0, size): a window that holds no LF
// gives pos 0. Runs itself under the cut guard.
void SearchAlone(const char* data, size_t size, const KeywordMatcher& matcher, AloneResult& result);

}  // namespace window_search
}  // namespace lorvane
