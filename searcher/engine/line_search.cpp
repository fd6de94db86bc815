#include "searcher/engine/line_search.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/exclusive_file.h"
#include "common/newline_count.h"
#include "searcher/engine/keyword_matcher.h"
#include "searcher/engine/quick_index.h"

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

// Records where every 10000th line ends, so that the line after it starts a
// block of the quick index. LFs are counted in bulk; one is located only where
// the count passes a multiple of the stride, once per block of lines.
class IndexBuilder {
 public:
  explicit IndexBuilder(QuickIndex* index) : index_(index) {
    if (index_) index_->Clear();
  }

  // `count` LFs of [data + from, data + to) have just been counted after the
  // `completedBefore` lines; `base` is the file offset of data[0].
  void PassNewlines(const char* data, size_t from, size_t to, int64_t completedBefore, uint64_t count, int64_t base) {
    if (!index_) return;
    while (count > 0 && completedBefore + static_cast<int64_t>(count) >= next_) {
      const auto wanted = static_cast<uint64_t>(next_ - completedBefore);
      const size_t lf = from + suite::FindNthNewline(data + from, to - from, wanted).position;
      completedBefore = next_;
      count -= wanted;
      from = lf + 1;
      Record(base + static_cast<int64_t>(lf) + 1);
    }
  }

  // The LF at file offset `lfOffset` completed line `line`.
  void PassNewline(int64_t line, int64_t lfOffset) {
    if (index_ && line == next_) Record(lfOffset + 1);
  }

  // Entry 0 when the text has a line, and no entry for a block that no line
  // started (one recorded after the last LF, with nothing behind it).
  void Finish(int64_t lines) {
    if (!index_) return;
    if (lines == 0) {
      index_->Clear();
      return;
    }
    index_->Set(0, 0);
    const int64_t lastKey = (lines - 1) / suite::kQuickIndexStride;
    while (index_->HighestKey() > lastKey) index_->Erase(index_->HighestKey());
  }

 private:
  void Record(int64_t offset) {
    index_->Set(next_ / suite::kQuickIndexStride, offset);
    next_ += suite::kQuickIndexStride;
  }

  QuickIndex* index_;
  int64_t next_ = suite::kQuickIndexStride;  // the count of lines after which the next block starts
};

}  // namespace

LineSearchResult SearchLines(suite::ExclusiveFile& file, const KeywordMatcher& matcher, LineSink& sink,
                             int64_t checkpointStride, size_t blockSize, QuickIndex* index) {
  LineSearchResult result;
  Checkpoints checkpoints(sink, checkpointStride);
  IndexBuilder indexBuilder(index);
  int64_t base = 0;  // file offset of buffer[0]
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
      indexBuilder.PassNewlines(data, pos, std::min(candidate, end), completed, lfs, base);
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
      indexBuilder.PassNewline(lineNumber, base + static_cast<int64_t>(lineEnd));
      pos = lineEnd + 1;
    }
    if (!lastLineDone && textEnded && end > 0 && data[end - 1] != '\n') ++completed;  // the last line, without LF
    checkpoints.ReachLine(completed);

    carry = available - end;
    if (carry > 0) std::memmove(buffer.data(), data + end, carry);
    base += static_cast<int64_t>(end);
  }
  result.linesRead = completed;
  if (!result.readFailed) indexBuilder.Finish(completed);
  return result;
}

}  // namespace lorvane
