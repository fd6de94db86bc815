// What a scan's worker finds in one window of a file: where its lines end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/file_window.h"
#include "common/tuning.h"

namespace suite {

// A window of a file and its line ends, found in one pass: the LFs of its text (every
// kLfMarkEvery-th one's position noted, so that any of them is found again by
// reading at most that many lines), where the text ends, and, when asked,
// whether an LF of it has no CR before it.
struct WindowLines {
  WindowLines(const ExclusiveFile& file, size_t capacity) : window(file, capacity), marks(capacity / kLfMarkEvery + 2) {}

  FileWindow window;
  std::vector<uint32_t> marks;  // position of LF number kLfMarkEvery * (i + 1)
  size_t markCount = 0;
  uint64_t newlines = 0;  // LFs of the text
  size_t size = 0;        // of the window
  size_t textSize = 0;    // bytes before the window's end or its first 0x1A
  bool endOfText = false;  // a 0x1A ends the text in this window
  bool reachesEnd = false;  // nothing of the file follows the window
  bool loneLf = false;      // an LF after the first byte has no CR before it (looked for when asked)
  bool lfFirst = false;     // the first byte is an LF: lone unless the window before ends in CR
  char lastByte = '\n';     // of the text, when it has any
  bool readFailed = false;
  bool cut = false;

  // Loads the window at `offset` and finds its line ends, and its lone LFs
  // when `loneLfs`; only reads and computes under the cut guard.
  void Scan(int64_t offset, bool loneLfs);
  // The position of LF number n (from 1, at most `newlines`) in the window
  // scanned last; false when the file was cut meanwhile.
  bool FindLf(uint64_t n, size_t& position) const;
};

}  // namespace suite
