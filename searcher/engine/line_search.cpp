#include "searcher/engine/line_search.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

#include "common/codepage.h"
#include "common/cut_guard.h"
#include "common/exclusive_file.h"
#include "common/file_window.h"
#include "common/newline_count.h"
#include "common/output_file.h"
#include "searcher/engine/keyword_matcher.h"
#include "searcher/engine/quick_index.h"

namespace lorvane {

template <typename Take>
bool FoundLine::EachPiece(Take&& take) const {
  if (bytes_) {
    if (!suite::ScanUnlessCut(bytes_, size_, [&] { take(bytes_, size_); })) cut_ = true;
    return !cut_;
  }
  // A line longer than a window: copied window by window.
  suite::FileWindow window(*file_);
  int64_t offset = offset_;
  size_t left = size_;
  while (left > 0) {
    if (!window.Load(offset) || window.Size() == 0) {
      cut_ = true;  // it was there when it was found
      return false;
    }
    const size_t piece = std::min(left, window.Size());
    if (!suite::ScanUnlessCut(window.Data(), piece, [&] { take(window.Data(), piece); })) {
      cut_ = true;
      return false;
    }
    offset += static_cast<int64_t>(piece);
    left -= piece;
  }
  return true;
}

bool FoundLine::CopyTo(char* out) const {
  size_t at = 0;
  return EachPiece([&](const char* bytes, size_t size) {
    std::memcpy(out + at, bytes, size);
    at += size;
  });
}

bool FoundLine::AppendTo(suite::OutputFile& file) const {
  bool written = true;
  // OutputFile::Append copies before it counts and writes only its own
  // buffer, so a cut in the middle of the copy leaves it whole.
  return EachPiece([&](const char* bytes, size_t size) {
    if (written) written = file.Append(std::string_view(bytes, size));
  }) && written;
}

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
  static constexpr size_t kMatches = 256;

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

// Records where every 10000th line ends, so the line after it starts a block
// of the quick index. LFs are counted in bulk; one is located only where the
// count passes a multiple of the stride, once per block of lines.
void PassNewlines(const char* data, size_t from, size_t to, uint64_t count, int64_t base, SearchState& state,
                  Findings& findings) {
  int64_t completed = state.completed;
  while (count > 0 && completed + static_cast<int64_t>(count) >= state.nextBlock) {
    const auto wanted = static_cast<uint64_t>(state.nextBlock - completed);
    const size_t lf = from + suite::FindNthNewline(data + from, to - from, wanted).position;
    findings.entries[findings.entryCount++] = {state.nextBlock / suite::kQuickIndexStride,
                                               base + static_cast<int64_t>(lf) + 1};
    completed = state.nextBlock;
    state.nextBlock += suite::kQuickIndexStride;
    count -= wanted;
    from = lf + 1;
  }
}

// The LF at file offset `lfOffset` completed line `line`.
void PassNewline(int64_t line, int64_t lfOffset, SearchState& state, Findings& findings) {
  if (line != state.nextBlock) return;
  findings.entries[findings.entryCount++] = {state.nextBlock / suite::kQuickIndexStride, lfOffset + 1};
  state.nextBlock += suite::kQuickIndexStride;
}

enum class PartEnd { kWindowDone, kFull, kTextEnded };

// Searches the whole lines of data[state.pos, size) of the window at file
// offset `base`, until they end, `findings` is full or the text ends. `last`:
// the file ends with the window, whose last line then counts without LF. Only
// reads and computes: it runs under the cut guard.
PartEnd SearchPart(const char* data, size_t size, bool last, int64_t base, const KeywordMatcher& matcher,
                   SearchState& state, Findings& findings) {
  size_t end = size;
  if (!last) {  // work on whole lines only
    const void* lastLf = ::memrchr(data, '\n', size);
    end = lastLf ? static_cast<size_t>(static_cast<const char*>(lastLf) - data) + 1 : 0;
  }
  size_t pos = state.pos;
  while (pos < end) {
    // pos is a line start, so the LFs before the candidate are the lines completed before its line.
    uint64_t lfs = 0;
    bool textEnded = false;
    const size_t candidate = pos + matcher.FindCandidate(data + pos, end - pos, &lfs, &textEnded);
    PassNewlines(data, pos, std::min(candidate, end), lfs, base, state, findings);
    state.completed += static_cast<int64_t>(lfs);
    if (textEnded) {  // at `candidate`; a line cut short by it still counts
      if (candidate > pos && data[candidate - 1] != '\n') ++state.completed;
      state.pos = candidate;
      return PartEnd::kTextEnded;
    }
    if (candidate >= end) {
      pos = end;
      break;
    }
    const void* lfBefore = candidate > pos ? ::memrchr(data + pos, '\n', candidate - pos) : nullptr;
    const size_t lineStart = lfBefore ? static_cast<size_t>(static_cast<const char*>(lfBefore) - data) + 1 : pos;
    const void* lfAfter = std::memchr(data + candidate, '\n', end - candidate);
    size_t lineEnd = lfAfter ? static_cast<size_t>(static_cast<const char*>(lfAfter) - data) : end;
    // A 0x1A after the candidate ends the line and the text.
    const void* endOfText = std::memchr(data + candidate, suite::kEndOfText, lineEnd - candidate);
    if (endOfText) {
      lineEnd = static_cast<size_t>(static_cast<const char*>(endOfText) - data);
      lfAfter = nullptr;
    }
    const int64_t lineNumber = state.completed + 1;
    size_t textEnd = lineEnd;
    if (lfAfter && textEnd > lineStart && data[textEnd - 1] == '\r') --textEnd;
    const std::string_view text(data + lineStart, textEnd - lineStart);
    if (matcher.LineMatches(text, candidate - lineStart)) {
      findings.matches[findings.matchCount++] = {lineNumber, lineStart, text.size()};
    }
    state.completed = lineNumber;
    if (!lfAfter) {  // the last line, without LF, or one the text's end cuts short
      state.pos = lineEnd;
      return endOfText ? PartEnd::kTextEnded : PartEnd::kWindowDone;
    }
    PassNewline(lineNumber, base + static_cast<int64_t>(lineEnd), state, findings);
    pos = lineEnd + 1;
    state.pos = pos;
    if (findings.Full() && pos < end) return PartEnd::kFull;
  }
  state.pos = pos;
  if (last && end > 0 && pos == end && data[end - 1] != '\n') {
    ++state.completed;  // the last line, without LF, holds no candidate
    return PartEnd::kWindowDone;
  }
  return PartEnd::kWindowDone;
}

// Whether the candidate at data[at] starts a character of the code page. In
// GBK the run of possible lead bytes before it decides; `runBefore` is that
// run's part before data[0], where the window starts inside the line.
bool StartsCharacter(const char* data, size_t at, suite::CodePage codePage, uint64_t runBefore) {
  if (codePage == suite::CodePage::Utf8) return (static_cast<unsigned char>(data[at]) & 0xC0) != 0x80;
  uint64_t run = 0;
  size_t i = at;
  while (i > 0 && suite::IsGbkLeadByte(static_cast<unsigned char>(data[i - 1]))) {
    --i;
    ++run;
  }
  if (i == 0) run += runBefore;
  return run % 2 == 0;
}

// The run of possible GBK lead bytes that ends at data[at], with `runBefore`
// for the part before data[0].
uint64_t LeadRunBefore(const char* data, size_t at, uint64_t runBefore) {
  uint64_t run = 0;
  size_t i = at;
  while (i > 0 && suite::IsGbkLeadByte(static_cast<unsigned char>(data[i - 1]))) {
    --i;
    ++run;
  }
  return i == 0 ? run + runBefore : run;
}

}  // namespace

LineSearchResult SearchLines(suite::ExclusiveFile& file, const KeywordMatcher& matcher, LineSink& sink,
                             int64_t checkpointStride, size_t windowSize, QuickIndex* index) {
  LineSearchResult result;
  Checkpoints checkpoints(sink, checkpointStride);
  // Where a line runs across windows, they overlap by the keyword: a candidate
  // is taken only with the byte after it in view (a CR before an LF isn't the
  // line's), and one that ends at the window's end starts again in the next.
  const size_t overlap = matcher.Size();
  const size_t capacity = std::max(windowSize, 2 * matcher.Size() + 64);
  suite::FileWindow window(file, capacity);
  Findings findings(capacity);
  SearchState state;
  if (index) index->Clear();
  const suite::CodePage codePage = suite::ActiveCodePage();

  // Hands over what a guarded part found; false when the search ends here.
  const auto handOver = [&](const char* data) {
    for (size_t i = 0; i < findings.entryCount; ++i) {
      if (index) index->Set(findings.entries[i].key, findings.entries[i].offset);
    }
    for (size_t i = 0; i < findings.matchCount; ++i) {
      const Findings::Match& match = findings.matches[i];
      checkpoints.ReachLine(match.lineNumber);
      const FoundLine line(data + match.start, match.size);
      const bool goOn = sink.OnMatch(match.lineNumber, line);
      if (line.WasCut()) {
        result.readFailed = result.cut = true;
        return false;
      }
      if (!goOn) {
        result.stopped = true;
        result.linesRead = match.lineNumber;
        return false;
      }
    }
    findings.Clear();
    return true;
  };

  int64_t offset = 0;  // of the window to load: a line start
  bool textEnded = false;
  while (!textEnded) {
    if (!window.Load(offset)) {
      result.readFailed = true;
      break;
    }
    const char* data = window.Data();
    const size_t size = window.Size();
    const bool last = window.ReachesEnd();
    if (size == 0) break;

    state.pos = 0;
    PartEnd partEnd = PartEnd::kFull;
    while (partEnd == PartEnd::kFull) {
      SearchState next = state;
      if (!suite::ScanUnlessCut(data, size, [&] { partEnd = SearchPart(data, size, last, offset, matcher, next, findings); })) {
        result.readFailed = result.cut = true;
        return result;
      }
      state = next;
      if (!handOver(data)) return result;
    }
    checkpoints.ReachLine(state.completed);
    if (partEnd == PartEnd::kTextEnded || last) break;
    if (state.pos > 0) {
      offset += static_cast<int64_t>(state.pos);
      continue;
    }

    // A line longer than the window, from `offset` on: searched window by
    // window, and copied out only if it matches.
    const int64_t lineStart = offset;
    bool matched = matcher.Empty();
    uint64_t leadRun = 0;      // GBK lead bytes of the line right before the window
    char previousByte = '\0';  // the last byte of the previous window
    for (;;) {
      const bool continuing = offset > lineStart;
      if (!window.Load(offset)) {
        result.readFailed = true;
        return result;
      }
      const char* bytes = window.Data();
      const size_t length = window.Size();
      size_t lineEnd = length;  // in the window: an LF, a 0x1A or the window's end
      bool endsHere = false, atLf = false;
      char byteBeforeLf = previousByte;
      uint64_t runAtNext = 0;
      const bool scanned = suite::ScanUnlessCut(bytes, length, [&] {
        if (const void* lf = std::memchr(bytes, '\n', length)) {
          lineEnd = static_cast<size_t>(static_cast<const char*>(lf) - bytes);
          endsHere = atLf = true;
        }
        if (const void* eot = std::memchr(bytes, suite::kEndOfText, lineEnd)) {
          lineEnd = static_cast<size_t>(static_cast<const char*>(eot) - bytes);
          endsHere = true;
          atLf = false;
        }
        // An LF at 0 follows the previous window's last byte. (Only without
        // an overlap, for the empty keyword: otherwise the previous window
        // would have held that LF.)
        if (atLf && lineEnd > 0) byteBeforeLf = bytes[lineEnd - 1];
        size_t textEnd = lineEnd;
        if (atLf && lineEnd > 0 && bytes[lineEnd - 1] == '\r') --textEnd;
        if (!endsHere && !window.ReachesEnd()) --textEnd;  // the byte after a candidate in view
        size_t from = 0;
        while (!matched && from < textEnd) {
          const size_t candidate = from + matcher.FindCandidate(bytes + from, textEnd - from);
          if (candidate >= textEnd) break;
          matched = StartsCharacter(bytes, candidate, codePage, continuing ? leadRun : 0);
          from = candidate + 1;
        }
        if (!endsHere && !window.ReachesEnd() && codePage == suite::CodePage::Gbk) {
          runAtNext = LeadRunBefore(bytes, length - overlap, continuing ? leadRun : 0);
        }
        if (length > 0) previousByte = bytes[length - 1];
      });
      if (!scanned) {
        result.readFailed = result.cut = true;
        return result;
      }
      if (!endsHere && !window.ReachesEnd()) {
        offset += static_cast<int64_t>(length - overlap);
        leadRun = runAtNext;
        continue;
      }
      // The line ends here: at its LF, at the text's end, or with the file.
      const int64_t endOffset = offset + static_cast<int64_t>(lineEnd);
      if (!atLf && endOffset == lineStart) {  // the text ended where a line would start
        textEnded = true;
        break;
      }
      const int64_t lineNumber = state.completed + 1;
      const bool crBeforeLf = atLf && byteBeforeLf == '\r' && endOffset > lineStart;
      checkpoints.ReachLine(lineNumber);
      if (matched) {
        const FoundLine line(file, lineStart, static_cast<size_t>(endOffset - lineStart - (crBeforeLf ? 1 : 0)));
        const bool goOn = sink.OnMatch(lineNumber, line);
        if (line.WasCut()) {
          result.readFailed = result.cut = true;
          return result;
        }
        if (!goOn) {
          result.stopped = true;
          result.linesRead = lineNumber;
          return result;
        }
      }
      state.completed = lineNumber;
      checkpoints.ReachLine(state.completed);
      if (!atLf) {
        textEnded = true;
        break;
      }
      if (lineNumber == state.nextBlock) {
        if (index) index->Set(state.nextBlock / suite::kQuickIndexStride, endOffset + 1);
        state.nextBlock += suite::kQuickIndexStride;
      }
      offset = endOffset + 1;
      break;
    }
  }
  result.linesRead = state.completed;
  if (!result.readFailed && index) {
    // Entry 0 when the text has a line, and none for a block that no line
    // started (one recorded after the last LF, with nothing behind it).
    if (state.completed == 0) {
      index->Clear();
    } else {
      index->Set(0, 0);
      const int64_t lastKey = (state.completed - 1) / suite::kQuickIndexStride;
      while (index->HighestKey() > lastKey) index->Erase(index->HighestKey());
    }
  }
  return result;
}

}  // namespace lorvane
