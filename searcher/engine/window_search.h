// The search's work on one window of the file, apart from its driver
// (line_search.cpp): the parts that run under the cut guard, reading and
// computing only.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "common/line_quantities.h"

namespace lorvane {

class KeywordMatcher;

namespace window_search {

enum class PartEnd { kWindowDone, kFull, kTextEnded };

// The whole lines of a window searched on their own, by a worker, while the
// lines before them are searched by others: not knowing how many lines come
// before, it counts its lines from its first and finds no index entries, but
// notes the line count at the offsets a quick index of the file gave for it,
// so that entries there are known without a second pass.
struct AloneResult {
  struct Match {
    suite::LineCount linesBefore;  // lines of the window before the match's
    size_t start;                  // in the window
    size_t size;
  };
  struct Hint {
    suite::BlockKey key;
    size_t pos;                    // in the window
    suite::LineCount linesBefore;  // lines of the window before pos, when it is a line start
    bool lineStart;
  };

  // The room for matches is reserved, not filled: a room of 65536 costs only
  // the matches made. A window holds at most a line per byte.
  AloneResult(size_t windowCapacity, size_t matchRoom) : room(std::min(matchRoom, windowCapacity + 1)) {
    matches.reserve(room);
  }
  bool Full() const { return matches.size() == room; }

  size_t room;
  std::vector<Match> matches;
  std::vector<Hint> hints;  // set before the search, sorted
  suite::LineCount completed{0};  // lines whose LF (or the text's end) was passed
  size_t pos = 0;                 // where it stopped: a line start, or the text's end
  PartEnd end = PartEnd::kWindowDone;  // kFull: the rest is searched again from pos
  bool cut = false;
};

// The whole lines of the window data[0, size): a window that holds no LF
// gives pos 0. Runs itself under the cut guard.
void SearchAlone(const char* data, size_t size, const KeywordMatcher& matcher, AloneResult& result);

}  // namespace window_search
}  // namespace lorvane
