#include "searcher/engine/line_search.h"

#include <algorithm>
#include <memory>
#include <array>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include "common/codepage.h"
#include "common/cut_guard.h"
#include "common/exclusive_file.h"
#include "common/file_window.h"
#include "common/helper_thread.h"
#include "common/scan_pipeline.h"
#include "common/newline_count.h"
#include "common/output_file.h"
#include "searcher/engine/keyword_matcher.h"
#include "searcher/engine/quick_index.h"
#include "searcher/engine/window_search.h"

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
  const bool copied = EachPiece([&](const char* bytes, size_t size) {
    if (written) written = file.Append(std::string_view(bytes, size));
  });
  // A long line may be written straight from the mapping: a cut shows as EFAULT.
  if (!written && file.Error() == EFAULT) cut_ = true;
  return copied && written;
}

namespace {

using window_search::AloneResult;
using window_search::Findings;
using window_search::PartEnd;
using window_search::SearchAlone;
using window_search::SearchPart;
using window_search::SearchState;

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


// The search of one file: windows in order, and, on two cores, the window
// after each searched on the helper thread at the same time.
class Searcher {
 public:
  Searcher(suite::ExclusiveFile& file, const KeywordMatcher& matcher, LineSink& sink, int64_t checkpointStride,
           size_t windowSize, QuickIndex* index, const QuickIndex* hints)
      : file_(file),
        matcher_(matcher),
        sink_(sink),
        checkpoints_(sink, checkpointStride),
        // Where a line runs across windows, they overlap by the keyword: a
        // candidate is taken only with the byte after it in view (a CR before
        // an LF isn't the line's), and one that ends at the window's end
        // starts again in the next.
        overlap_(matcher.Size()),
        capacity_(std::max(windowSize, 2 * matcher.Size() + 64)),
        window_(file, capacity_),
        findings_(capacity_),
        index_(index),
        hints_(hints),
        codePage_(matcher.CodePage()) {}

  LineSearchResult Run();

 private:
  enum class Next { kOn, kLongLine, kEnded, kStop };

  bool Emit(int64_t lineNumber, const FoundLine& line);
  bool HandOver(const char* data);
  Next SearchWindow(const suite::FileWindow& window, int64_t offset);
  Next SearchLongLine();
  Next TakeAlone(const suite::FileWindow& window, int64_t offset);
  bool StartAhead();
  void SetEntry(int64_t key, int64_t offset) {
    if (index_) index_->Set(suite::BlockKey{key}, suite::ByteOffset{offset});
  }

  suite::ExclusiveFile& file_;
  const KeywordMatcher& matcher_;
  LineSink& sink_;
  Checkpoints checkpoints_;
  const size_t overlap_;
  const size_t capacity_;
  suite::FileWindow window_;
  Findings findings_;
  SearchState state_;
  QuickIndex* index_;
  const QuickIndex* hints_;
  QuickIndex::Table::const_iterator hintCursor_;  // the first entry not behind the windows
  const suite::CodePage codePage_;
  LineSearchResult result_;
  int64_t offset_ = 0;  // of the window to load: a line start

  // The window ahead, on the helper thread.
  std::unique_ptr<suite::HelperThread> helper_;
  std::unique_ptr<suite::FileWindow> ahead_;
  int64_t aheadOffset_ = 0;
  AloneResult alone_;
};

bool Searcher::Emit(int64_t lineNumber, const FoundLine& line) {
  checkpoints_.ReachLine(lineNumber);
  const bool goOn = sink_.OnMatch(lineNumber, line);
  if (line.WasCut()) {
    result_.readFailed = result_.cut = true;
    return false;
  }
  if (!goOn) {
    result_.stopped = true;
    result_.linesRead = lineNumber;
    return false;
  }
  return true;
}

bool Searcher::HandOver(const char* data) {
  for (size_t i = 0; i < findings_.entryCount; ++i) SetEntry(findings_.entries[i].key, findings_.entries[i].offset);
  for (size_t i = 0; i < findings_.matchCount; ++i) {
    const Findings::Match& match = findings_.matches[i];
    if (!Emit(match.lineNumber, FoundLine(data + match.start, match.size))) return false;
  }
  findings_.Clear();
  return true;
}

Searcher::Next Searcher::SearchWindow(const suite::FileWindow& window, int64_t offset) {
  const char* data = window.Data();
  const size_t size = window.Size();
  const bool last = window.ReachesEnd();
  PartEnd partEnd = PartEnd::kFull;
  while (partEnd == PartEnd::kFull) {
    SearchState next = state_;
    if (!suite::ScanUnlessCut(data, size,
                              [&] { partEnd = SearchPart(data, size, last, offset, matcher_, next, findings_); })) {
      result_.readFailed = result_.cut = true;
      return Next::kStop;
    }
    state_ = next;
    if (!HandOver(data)) return Next::kStop;
  }
  checkpoints_.ReachLine(state_.completed);
  if (partEnd == PartEnd::kTextEnded || last) return Next::kEnded;
  return state_.pos > 0 ? Next::kOn : Next::kLongLine;
}

// A line longer than the window, from offset_ on: searched window by window,
// and copied out only if it matches.
Searcher::Next Searcher::SearchLongLine() {
  const int64_t lineStart = offset_;
  bool matched = matcher_.Empty();
  uint64_t leadRun = 0;      // GBK lead bytes of the line right before the window
  char previousByte = '\0';  // the last byte of the previous window
  for (;;) {
    const bool continuing = offset_ > lineStart;
    if (!window_.Load(offset_)) {
      result_.readFailed = true;
      result_.cut = window_.WasCut();
      return Next::kStop;
    }
    const char* bytes = window_.Data();
    const size_t length = window_.Size();
    const bool reachesEnd = window_.ReachesEnd();
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
      // An LF at 0 follows the previous window's last byte. (Only without an
      // overlap, for the empty keyword: otherwise the previous window would
      // have held that LF.)
      if (atLf && lineEnd > 0) byteBeforeLf = bytes[lineEnd - 1];
      size_t textEnd = lineEnd;
      if (atLf && lineEnd > 0 && bytes[lineEnd - 1] == '\r') --textEnd;
      if (!endsHere && !reachesEnd) --textEnd;  // the byte after a candidate in view
      size_t from = 0;
      while (!matched && from < textEnd) {
        const size_t candidate = from + matcher_.FindCandidate(bytes + from, textEnd - from);
        if (candidate >= textEnd) break;
        matched = suite::StartsCharacterAt(codePage_, bytes, candidate, continuing ? leadRun : 0);
        from = candidate + 1;
      }
      if (!endsHere && !reachesEnd && codePage_ == suite::CodePage::Gbk) {
        runAtNext = suite::GbkLeadRunBefore(bytes, length - overlap_, continuing ? leadRun : 0);
      }
      if (length > 0) previousByte = bytes[length - 1];
    });
    if (!scanned) {
      result_.readFailed = result_.cut = true;
      return Next::kStop;
    }
    if (!endsHere && !reachesEnd) {
      offset_ += static_cast<int64_t>(length - overlap_);
      leadRun = runAtNext;
      continue;
    }
    // The line ends here: at its LF, at the text's end, or with the file.
    const int64_t endOffset = offset_ + static_cast<int64_t>(lineEnd);
    if (!atLf && endOffset == lineStart) return Next::kEnded;  // the text ended where a line would start
    const int64_t lineNumber = state_.completed + 1;
    const bool crBeforeLf = atLf && byteBeforeLf == '\r' && endOffset > lineStart;
    if (matched) {
      const FoundLine line(file_, lineStart, static_cast<size_t>(endOffset - lineStart - (crBeforeLf ? 1 : 0)));
      if (!Emit(lineNumber, line)) return Next::kStop;
    }
    state_.completed = lineNumber;
    checkpoints_.ReachLine(state_.completed);
    if (!atLf) return Next::kEnded;
    if (lineNumber == state_.nextBlock) {
      SetEntry(state_.nextBlock / suite::kQuickIndexStride, endOffset + 1);
      state_.nextBlock += suite::kQuickIndexStride;
    }
    offset_ = endOffset + 1;
    return Next::kOn;
  }
}

// Starts the search of the window after the one at offset_ on the helper:
// it begins after the last LF of the current window. False when there is no
// such window to search ahead (the current one ends the file or holds no LF,
// or the next one does).
bool Searcher::StartAhead() {
  if (!helper_ || window_.ReachesEnd() || window_.Size() == 0) return false;
  const char* data = window_.Data();
  const size_t size = window_.Size();
  const void* lastLf = nullptr;
  if (!suite::ScanUnlessCut(data, size, [&] { lastLf = ::memrchr(data, '\n', size); })) return false;
  if (!lastLf) return false;
  aheadOffset_ = offset_ + (static_cast<const char*>(lastLf) - data) + 1;
  if (!ahead_->Load(aheadOffset_) || ahead_->Size() == 0 || ahead_->ReachesEnd()) return false;
  // The entries a quick index of the file gave inside the window: the helper
  // notes the lines before them, so they are known without a second pass.
  alone_.hints.clear();
  if (hints_ && index_) {
    // Windows only move on, so the walk through the entries goes on from
    // where the last window left it, not from the first entry each time.
    const auto end = hints_->Entries().end();
    while (hintCursor_ != end && hintCursor_->second <= aheadOffset_) ++hintCursor_;
    for (auto entry = hintCursor_; entry != end; ++entry) {
      if (entry->second > aheadOffset_ + static_cast<int64_t>(ahead_->Size())) break;
      if (alone_.hints.size() == alone_.hints.capacity()) break;
      alone_.hints.push_back({entry->first, static_cast<size_t>(entry->second - aheadOffset_), -1});
    }
  }
  suite::FileWindow& ahead = *ahead_;
  helper_->Start([this, &ahead] { SearchAlone(ahead.Data(), ahead.Size(), matcher_, alone_); });
  return true;
}

// What the helper found in the window at `offset`, after the lines before it.
Searcher::Next Searcher::TakeAlone(const suite::FileWindow& window, int64_t offset) {
  if (alone_.cut) {
    result_.readFailed = result_.cut = true;
    return Next::kStop;
  }
  const int64_t before = state_.completed;
  for (size_t i = 0; i < alone_.matchCount; ++i) {
    const Findings::Match& match = alone_.matches[i];
    if (!Emit(before + match.lineNumber, FoundLine(window.Data() + match.start, match.size))) return Next::kStop;
  }
  // Blocks that start in the window: at a noted hint, or else found again.
  while (index_ && state_.nextBlock <= before + alone_.completed) {
    const int64_t key = state_.nextBlock / suite::kQuickIndexStride;
    const int64_t wanted = state_.nextBlock - before;  // LFs of the window before the block
    int64_t entry = -1;
    for (const AloneResult::Hint& hint : alone_.hints) {
      if (hint.key == key && hint.lfsBefore == wanted) entry = offset + static_cast<int64_t>(hint.pos);
    }
    if (entry < 0) {
      const char* data = window.Data();
      size_t lf = 0;
      if (!suite::ScanUnlessCut(data, alone_.pos, [&] {
            lf = suite::FindNthNewline(data, alone_.pos, static_cast<uint64_t>(wanted)).position;
          })) {
        result_.readFailed = result_.cut = true;
        return Next::kStop;
      }
      entry = offset + static_cast<int64_t>(lf) + 1;
    }
    SetEntry(key, entry);
    state_.nextBlock += suite::kQuickIndexStride;
  }
  if (!index_) {
    while (state_.nextBlock <= before + alone_.completed) state_.nextBlock += suite::kQuickIndexStride;
  }
  state_.completed = before + alone_.completed;
  state_.pos = alone_.pos;
  checkpoints_.ReachLine(state_.completed);
  if (alone_.textEnded) return Next::kEnded;
  if (alone_.full) return SearchWindow(window, offset);  // the rest of it, here
  return Next::kOn;
}

LineSearchResult Searcher::Run() {
  if (index_) index_->Clear();
  if (file_.Size() > 2 * static_cast<int64_t>(capacity_) && suite::ScanWorkers() > 1) {
    helper_ = std::make_unique<suite::HelperThread>();
    ahead_ = std::make_unique<suite::FileWindow>(file_, capacity_);
    alone_.hints.reserve(capacity_ / suite::kQuickIndexStride + 4);
    if (hints_) hintCursor_ = hints_->Entries().begin();
  }
  Next next = Next::kOn;
  while (next == Next::kOn) {
    if (!window_.Load(offset_)) {
      result_.readFailed = true;
      result_.cut = window_.WasCut();
      break;
    }
    if (window_.Size() == 0) break;
    const bool ahead = StartAhead();
    state_.pos = 0;
    next = SearchWindow(window_, offset_);
    if (ahead) helper_->Wait();
    if (next == Next::kLongLine) {
      next = SearchLongLine();
      continue;
    }
    if (next != Next::kOn) break;
    offset_ += static_cast<int64_t>(state_.pos);
    if (!ahead) continue;
    // The window's whole lines end where the one ahead begins.
    next = TakeAlone(*ahead_, aheadOffset_);
    if (next == Next::kOn) offset_ = aheadOffset_ + static_cast<int64_t>(state_.pos);
    if (next == Next::kLongLine) next = Next::kOn;  // it held no whole line: it is loaded again next
  }
  if (!result_.stopped) result_.linesRead = state_.completed;
  if (!result_.readFailed && !result_.stopped && index_) {
    // Entry 0 when the text has a line, and none for a block that no line
    // started (one recorded after the last LF, with nothing behind it).
    if (state_.completed == 0) {
      index_->Clear();
    } else {
      index_->Set(suite::BlockKey{0}, suite::ByteOffset{0});
      const suite::BlockKey lastKey = suite::LastBlock(suite::LineCount{state_.completed});
      while (index_->HighestKey() > lastKey) index_->Erase(index_->HighestKey());
    }
  }
  return result_;
}

}  // namespace

LineSearchResult SearchLines(suite::ExclusiveFile& file, const KeywordMatcher& matcher, LineSink& sink,
                             int64_t checkpointStride, size_t windowSize, QuickIndex* index, const QuickIndex* hints) {
  return Searcher(file, matcher, sink, checkpointStride, windowSize, index, hints).Run();
}

}  // namespace lorvane
