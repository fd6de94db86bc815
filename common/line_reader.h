// Reads a text line by line in the suite's text model.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/tuning.h"

namespace suite {

class ExclusiveFile;

// One line: its text without the line end, and the byte offset of its first byte.
struct TextLine {
  std::string_view text;
  int64_t offset = 0;
};

// The text model of every reader in the suite: a line ends at LF; a CR directly
// before the LF is not part of the line, any other CR is; a 0x1A byte ends the
// text; a last line without LF counts; an empty text has no lines; lines may be
// of any length and NUL bytes are ordinary bytes.
//
// Reads big blocks and hands out views into its buffer, valid until the next
// call; only a line longer than the buffer makes the buffer grow.
class LineReader {
 public:
  // Reads `file` from its current position, which is byte offset `startOffset`.
  explicit LineReader(ExclusiveFile& file, int64_t startOffset = 0, size_t blockSize = kReadBlockSize);

  // The next line, or false at the end of the text or on a read error.
  bool Next(TextLine& line);

  bool Failed() const { return failed_; }

 private:
  bool Fill();

  ExclusiveFile& file_;
  std::vector<char> buffer_;
  size_t blockSize_;
  size_t begin_ = 0;          // first unread byte in buffer_
  size_t end_ = 0;            // end of valid data in buffer_
  size_t scanned_ = 0;        // bytes after begin_ already known to hold no LF
  int64_t bufferOffset_ = 0;  // file offset of buffer_[0]
  bool textEnded_ = false;    // end of file or 0x1A reached
  bool failed_ = false;
};

}  // namespace suite
