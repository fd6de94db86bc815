// Reads a text line by line in the suite's text model.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/file_window.h"
#include "common/tuning.h"

namespace suite {

class ExclusiveFile;

// One line: its text without the line end, and the byte offset of its first byte.
struct TextLine {
  std::string_view text;
  int64_t offset = 0;
};

// Lines in the suite's text model (text_model.h); an empty text has no lines,
// and lines may be of any length.
//
// Sees the file through one mapped window (see FileWindow); a line is copied
// out only when it is handed over, so skipped lines cost nothing, and a line
// longer than the window is handed over in parts or held whole. A file cut
// while it is read ends the reading (Cut()), never the program.
class LineReader {
 public:
  // Reads `file` from byte offset `startOffset` on, which must start a line.
  explicit LineReader(ExclusiveFile& file, int64_t startOffset = 0, size_t windowSize = kMapWindowSize);

  // The next line, held until the next call; false at the end of the text and
  // when reading stopped (Failed()).
  bool Next(TextLine& line);
  // Passes over the next line without holding it.
  bool Skip();
  // The next line in parts of at most a window each, handed to `part` with
  // `last` set for the final one; `part` may stop the reading with false.
  bool NextInParts(const std::function<bool(std::string_view part, bool last)>& part);

  // Reading stopped early: a read error, a cut, or a line too long to hold.
  bool Failed() const { return failed_; }
  bool Cut() const { return cut_; }
  bool OutOfMemory() const { return outOfMemory_; }

 private:
  bool LoadAt(int64_t offset);
  // Copies bytes of the window under the cut guard.
  bool CopyOut(size_t from, size_t count, char* to);
  template <typename Part>
  bool WalkLine(Part&& part);

  FileWindow window_;
  size_t pos_ = 0;            // a line start in the window
  int64_t lineOffset_ = 0;    // of the line handed over last
  bool textEnded_ = false;    // end of file or 0x1A reached
  bool failed_ = false;
  bool cut_ = false;
  bool outOfMemory_ = false;
  std::string held_;
};

}  // namespace suite
