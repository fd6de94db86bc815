#include "searcher/engine/line_search.h"

#include <cstring>
#include <vector>

#include "common/exclusive_file.h"
#include "common/newline_count.h"
#include "searcher/engine/keyword_matcher.h"

namespace lorvane {
namespace {

class Checkpoints {
 public:
  Checkpoints(LineSink& sink, int64_t stride) : sink_(sink), stride_(stride < 1 ? 1 : stride), next_(stride_) {}
  // Every checkpoint up to and including line `line` has been reached.
  void ReachLine(int64_t line) {
    while (next_ <= line) {
      sink_.OnCheckpoint(next_);
      next_ += stride_;
    }
  }

 private:
  LineSink& sink_;
  int64_t stride_;
  int64_t next_;
};

}  // namespace

LineSearchResult SearchLines(suite::ExclusiveFile& file, const KeywordMatcher& matcher, LineSink& sink,
                             int64_t checkpointStride, size_t blockSize) {
  LineSearchResult result;
  Checkpoints checkpoints(sink, checkpointStride);
  if (blockSize < 1) blockSize = 1;
  std::vector<char> buffer(blockSize * 2);
  size_t carry = 0;        // bytes of an unfinished line at the buffer's front
  int64_t completed = 0;   // lines whose LF has been counted
  bool textEnded = false;

  while (!textEnded) {
    if (buffer.size() - carry < blockSize) buffer.resize(buffer.size() * 2);  // a very long line
    const ssize_t got = file.Read(buffer.data() + carry, buffer.size() - carry);
    if (got < 0) {
      result.readFailed = true;
      break;
    }
    size_t fresh = static_cast<size_t>(got);
    if (got == 0) textEnded = true;
    if (const void* eof = std::memchr(buffer.data() + carry, suite::kEndOfText, fresh)) {
      fresh = static_cast<size_t>(static_cast<const char*>(eof) - (buffer.data() + carry));
      textEnded = true;
    }
    const size_t available = carry + fresh;
    const char* data = buffer.data();

    // Work on whole lines only; at the end of the text the last line counts without LF.
    size_t end = available;
    if (!textEnded) {
      const void* lastLf = available ? ::memrchr(data, '\n', available) : nullptr;
      if (!lastLf) {
        carry = available;
        continue;
      }
      end = static_cast<size_t>(static_cast<const char*>(lastLf) - data) + 1;
    }

    size_t pos = 0;  // a line start: the search goes on from here
    bool lastLineDone = false;
    while (pos < end) {
      // pos is a line start, so the LFs before the candidate are the lines completed before its line.
      uint64_t lfs = 0;
      const size_t candidate = pos + matcher.FindCandidate(data + pos, end - pos, &lfs);
      completed += static_cast<int64_t>(lfs);
      if (candidate >= end) break;
      const void* lfBefore = candidate > pos ? ::memrchr(data + pos, '\n', candidate - pos) : nullptr;
      const size_t lineStart = lfBefore ? static_cast<size_t>(static_cast<const char*>(lfBefore) - data) + 1 : pos;
      const void* lfAfter = std::memchr(data + candidate, '\n', end - candidate);
      const size_t lineEnd = lfAfter ? static_cast<size_t>(static_cast<const char*>(lfAfter) - data) : end;

      const int64_t lineNumber = completed + 1;
      checkpoints.ReachLine(lineNumber);

      size_t textEnd = lineEnd;
      if (lfAfter && textEnd > lineStart && data[textEnd - 1] == '\r') --textEnd;
      const std::string_view text(data + lineStart, textEnd - lineStart);
      if (matcher.LineMatches(text, candidate - lineStart) && !sink.OnMatch(lineNumber, text)) {
        result.stopped = true;
        result.linesRead = lineNumber;
        return result;
      }
      if (!lfAfter) {  // the last line, without LF
        lastLineDone = true;
        completed = lineNumber;
        break;
      }
      completed = lineNumber;
      pos = lineEnd + 1;
    }
    if (!lastLineDone && textEnded && end > 0 && data[end - 1] != '\n') ++completed;  // the last line, without LF
    checkpoints.ReachLine(completed);

    carry = available - end;
    if (carry > 0) std::memmove(buffer.data(), data + end, carry);
  }
  result.linesRead = completed;
  return result;
}

}  // namespace lorvane
