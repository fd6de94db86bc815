#include "searcher/engine/line_search.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "common/codepage.h"
#include "common/cut_guard.h"
#include "common/exclusive_file.h"
#include "common/file_window.h"
#include "common/newline_count.h"
#include "common/output_file.h"
#include "common/text_model.h"
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
  // A line longer than a window: read a piece at a time. It was there when
  // it was found: a read that comes short found the file cut.
  std::string piece(std::min(size_, suite::kWriteBlockSize), '\0');
  for (size_t at = 0; at < size_ && !cut_; at += piece.size()) {
    const size_t length = std::min(piece.size(), size_ - at);
    cut_ = file_->ReadAt(piece.data(), length, offset_ + static_cast<int64_t>(at)) != length;
    if (!cut_) take(piece.data(), length);
  }
  return !cut_;
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
using window_search::PartEnd;
using window_search::SearchAlone;

// One worker's window: the whole lines that start in it are searched on the
// worker; what they found is taken in file order.
struct Slot {
  Slot(suite::ExclusiveFile& file, size_t capacity, size_t matchRoom)
      : window(file, capacity), alone(capacity, matchRoom) {
    alone.hints.reserve(capacity / suite::kQuickIndexStride + 4);
  }
  suite::FileWindow window;
  AloneResult alone;
  bool loaded = false;
  size_t size = 0;        // of the window as loaded
  bool hasLines = false;  // a line starts in the window after its first byte, or at the file's start
  size_t linesStart = 0;  // where the lines searched last start: after the window's first LF, or 0 at the file's start
  QuickIndex::Table::const_iterator hintCursor;  // the first hint not behind the slot's windows
};

// The search of one file on the scan pipeline: fixed windows, each searched
// by a worker over the whole lines that start in it; the caller searches the
// line that runs across two windows (of any length) on its own, takes the
// workers' findings in order and makes their line numbers absolute.
class Searcher {
 public:
  Searcher(suite::ExclusiveFile& file, const KeywordMatcher& matcher, LineSink& sink, int64_t checkpointStride,
           size_t windowSize, QuickIndex* index, const QuickIndex* hints, SearchStart start)
      : file_(file),
        matcher_(matcher),
        sink_(sink),
        stride_(std::max<int64_t>(checkpointStride, 1)),
        // The first checkpoint is the first multiple of the stride after the lines before.
        nextCheckpoint_((start.linesBefore.value / stride_ + 1) * stride_),
        // A line is searched through windows that overlap by the keyword, at
        // least a byte: a candidate is taken only with the byte after it in
        // view (a CR before an LF isn't the line's), one that ends at the
        // window's end starts again in the next, and an LF is never the
        // first byte of a window but the line's first.
        overlap_(std::max<size_t>(matcher.Size(), 1)),
        capacity_(std::max(windowSize, 2 * matcher.Size() + 64)),
        window_(file, capacity_),
        head_(file, std::min(capacity_, suite::kLineHeadSize + 2 * matcher.Size()), suite::FileWindow::Access::kRead),
        index_(index),
        hints_(hints),
        codePage_(matcher.CodePage()),
        start_(start),
        completed_(start.linesBefore),
        nextBlock_(suite::BlockAfter(start.linesBefore).value + 1),
        offset_(start.offset.value) {}

  LineSearchResult Run(int workers);

 private:
  enum class Next { kOn, kEnded, kStop };

  bool Emit(suite::LineNumber line, const FoundLine& found);
  // Every checkpoint up to and including line `line` has been reached.
  void ReachLine(int64_t line) {
    for (; nextCheckpoint_ <= line; nextCheckpoint_ += stride_) sink_.OnCheckpoint(suite::LineNumber{nextCheckpoint_});
  }
  Next Fail(bool cut) {
    result_.readFailed = true;
    result_.cut = cut;
    return Next::kStop;
  }
  Next SearchLine();
  Next SearchOnTo(int64_t limit);
  void SearchWindowLines(Slot& slot) const;
  void ScanWindow(Slot& slot, int64_t offset) const;
  bool TakeWindow(Slot& slot, int64_t offset);
  Next TakeAlone(Slot& slot);
  void SetEntry(suite::BlockKey key, int64_t offset) {
    if (index_) index_->Set(key, suite::ByteOffset{offset});
  }

  suite::ExclusiveFile& file_;
  const KeywordMatcher& matcher_;
  LineSink& sink_;
  const int64_t stride_;
  int64_t nextCheckpoint_;
  const size_t overlap_;
  const size_t capacity_;
  suite::FileWindow window_;  // the caller's, for the lines across windows
  suite::FileWindow head_;    // the first bytes of such a line, read
  QuickIndex* index_;
  const QuickIndex* hints_;
  const suite::CodePage codePage_;
  LineSearchResult result_;
  const SearchStart start_;
  suite::LineCount completed_;  // lines searched
  suite::BlockKey nextBlock_;   // the first block whose start hasn't been passed
  int64_t offset_;  // a line start: every line before it has been searched
  int64_t textEnd_ = 0;  // where the text ended, once it has
};

bool Searcher::Emit(suite::LineNumber line, const FoundLine& found) {
  ReachLine(line.value);
  const bool goOn = sink_.OnMatch(line, found);
  if (found.WasCut()) {
    Fail(true);
    return false;
  }
  if (!goOn) {
    result_.stopped = true;
    result_.linesRead = suite::LineCount{line.value};
    return false;
  }
  return true;
}

// The line at offset_, of any length: searched window by window, and copied
// out from the file only when it matches and the first window didn't hold it.
Searcher::Next Searcher::SearchLine() {
  const int64_t lineStart = offset_;
  bool matched = matcher_.Empty();
  uint64_t leadRun = 0;  // GBK lead bytes of the line right before the window
  for (;;) {
    const bool continuing = offset_ > lineStart;
    suite::FileWindow& window = continuing ? window_ : head_;
    if (!window.Load(offset_)) return Fail(window.WasCut());
    const char* bytes = window.Data();
    const size_t length = window.Size();
    const bool reachesEnd = window.ReachesEnd();
    if (length == 0 && !continuing) {  // the file ends where a line would start
      textEnd_ = offset_;
      return Next::kEnded;
    }
    size_t lineEnd = length, textEnd = length;  // in the window: an LF, a 0x1A or the window's end
    bool endsHere = false, atLf = false;
    uint64_t runAtNext = 0;
    const bool scanned = suite::ScanUnlessCut(bytes, length, [&] {
      const suite::LineEnd end = suite::FindLineEnd(bytes, 0, length);
      lineEnd = end.at;
      atLf = end.atLf;
      endsHere = end.atLf || end.endsText;
      textEnd = suite::LineTextEnd(bytes, 0, end);
      const size_t inView = endsHere || reachesEnd ? textEnd : textEnd - 1;  // the byte after a candidate
      for (size_t from = 0; !matched && from < inView;) {
        const size_t candidate = from + matcher_.FindCandidate(bytes + from, inView - from);
        if (candidate >= inView) break;
        matched = suite::StartsCharacterAt(codePage_, bytes, candidate, continuing ? leadRun : 0);
        from = candidate + 1;
      }
      if (!endsHere && !reachesEnd && codePage_ == suite::CodePage::Gbk) {
        runAtNext = suite::GbkLeadRunBefore(bytes, length - overlap_, continuing ? leadRun : 0);
      }
    });
    if (!scanned) return Fail(true);
    if (!endsHere && !reachesEnd) {
      offset_ += static_cast<int64_t>(length - overlap_);
      leadRun = runAtNext;
      continue;
    }
    // The line ends here: at its LF, at the text's end, or with the file.
    const int64_t endOffset = offset_ + static_cast<int64_t>(lineEnd);
    if (!atLf) textEnd_ = endOffset;
    if (!atLf && endOffset == lineStart) return Next::kEnded;  // the text ended where a line would start
    const suite::LineNumber lineNumber{completed_.value + 1};
    if (matched) {
      const auto size = static_cast<size_t>(offset_ + static_cast<int64_t>(textEnd) - lineStart);
      if (!Emit(lineNumber, continuing ? FoundLine(file_, lineStart, size) : FoundLine(bytes, size))) {
        return Next::kStop;
      }
    }
    completed_ = suite::LineCount{lineNumber.value};
    ReachLine(lineNumber.value);
    if (!atLf) return Next::kEnded;
    if (completed_ == suite::LinesBeforeBlock(nextBlock_)) {
      SetEntry(nextBlock_, endOffset + 1);
      ++nextBlock_.value;
    }
    offset_ = endOffset + 1;
    return Next::kOn;
  }
}

// Searches the lines from offset_ up to `limit`, a line start, here on the
// caller, one by one: mostly one line, the one across two windows.
Searcher::Next Searcher::SearchOnTo(int64_t limit) {
  Next next = Next::kOn;
  while (next == Next::kOn && offset_ < limit) next = SearchLine();
  // What the caller read of the file needn't stay mapped beside the workers' windows.
  window_.Release();
  return next;
}

// The whole lines of the slot's window from slot.linesStart on, with the
// quick index's entries among them as hints: the worker notes the lines
// before them, so they are known without a second pass. Windows only move
// on, so the slot's walk through the entries goes on from where its last
// window left it.
void Searcher::SearchWindowLines(Slot& slot) const {
  const int64_t linesOffset = slot.window.Offset() + static_cast<int64_t>(slot.linesStart);
  const size_t linesSize = slot.size - slot.linesStart;
  slot.alone.hints.clear();
  if (hints_ && index_) {
    const auto end = hints_->Entries().end();
    while (slot.hintCursor != end && slot.hintCursor->second <= linesOffset) ++slot.hintCursor;
    for (auto entry = slot.hintCursor; entry != end; ++entry) {
      if (entry->second > linesOffset + static_cast<int64_t>(linesSize)) break;
      if (slot.alone.hints.size() == slot.alone.hints.capacity()) break;
      slot.alone.hints.push_back({suite::BlockKey{entry->first},
                                  static_cast<size_t>(entry->second - linesOffset), suite::LineCount{0}, false});
    }
  }
  SearchAlone(slot.window.Data() + slot.linesStart, linesSize, matcher_, slot.alone);
}

// On a worker: the whole lines that start in the window at `offset`.
void Searcher::ScanWindow(Slot& slot, int64_t offset) const {
  slot.alone.cut = false;
  slot.hasLines = false;
  slot.loaded = slot.window.Load(offset);
  slot.size = slot.window.Size();
  if (!slot.loaded || slot.size == 0) return;
  const char* data = slot.window.Data();
  slot.linesStart = 0;
  if (offset > start_.offset.value) {
    const void* lf = nullptr;
    slot.alone.cut = !suite::ScanUnlessCut(data, slot.size, [&] { lf = std::memchr(data, '\n', slot.size); });
    if (slot.alone.cut) return;
    if (!lf) {  // inside a long line: nothing of it to keep mapped
      slot.window.Release();
      return;
    }
    slot.linesStart = static_cast<size_t>(static_cast<const char*>(lf) - data) + 1;
  }
  slot.hasLines = true;
  SearchWindowLines(slot);
}

// What a worker found in the lines of its window, after the lines before
// them; when the matches filled its room, the rest of the lines are searched
// here the same way, as often as it takes.
Searcher::Next Searcher::TakeAlone(Slot& slot) {
  for (;;) {
    const AloneResult& alone = slot.alone;
    const char* data = slot.window.Data() + slot.linesStart;
    const int64_t linesOffset = slot.window.Offset() + static_cast<int64_t>(slot.linesStart);
    const int64_t before = completed_.value;
    for (size_t m = 0; m < alone.matches.size(); ++m) {
      // A worker searched these lines a window ago, on another core: the line
      // a few matches on is asked for now, so that its copy won't wait on memory.
      if (m + suite::kPrefetchAhead < alone.matches.size()) {
        const AloneResult::Match& ahead = alone.matches[m + suite::kPrefetchAhead];
        for (size_t at = 0; at < std::min<size_t>(ahead.size, 256); at += 64) __builtin_prefetch(data + ahead.start + at);
      }
      const AloneResult::Match& match = alone.matches[m];
      if (!Emit(suite::LineNumber{before + match.linesBefore.value + 1}, FoundLine(data + match.start, match.size))) {
        return Next::kStop;
      }
    }
    // Blocks that start in the lines: at a noted hint, or else found again.
    const int64_t after = before + alone.completed.value;
    for (; suite::LinesBeforeBlock(nextBlock_).value <= after; ++nextBlock_.value) {
      if (!index_) continue;
      const int64_t wanted = suite::LinesBeforeBlock(nextBlock_).value - before;  // LFs before the block
      int64_t entry = -1;
      for (const AloneResult::Hint& hint : alone.hints) {
        if (hint.key == nextBlock_ && hint.lineStart && hint.linesBefore.value == wanted) {
          entry = linesOffset + static_cast<int64_t>(hint.pos);
        }
      }
      if (entry < 0) {
        size_t lf = 0;
        if (!suite::ScanUnlessCut(data, alone.pos, [&] {
              lf = suite::FindNthNewline(data, alone.pos, static_cast<uint64_t>(wanted)).position;
            })) {
          return Fail(true);
        }
        entry = linesOffset + static_cast<int64_t>(lf) + 1;
      }
      SetEntry(nextBlock_, entry);
    }
    completed_ = suite::LineCount{after};
    ReachLine(after);
    offset_ = linesOffset + static_cast<int64_t>(alone.pos);
    if (alone.end == PartEnd::kTextEnded) {
      textEnd_ = offset_;
      return Next::kEnded;
    }
    if (alone.end != PartEnd::kFull) return Next::kOn;
    slot.linesStart += alone.pos;
    SearchWindowLines(slot);
    if (slot.alone.cut) return Fail(true);
  }
}

// On the caller, in file order: the line across from the window before, then
// the window's own.
bool Searcher::TakeWindow(Slot& slot, int64_t offset) {
  if (!slot.loaded || slot.alone.cut) {
    Fail(slot.alone.cut || slot.window.WasCut());
    return false;
  }
  if (slot.size == 0) {
    // The file ended before the window: its last lines. A file that grew
    // since is read up to a line start past where it ended.
    if (SearchOnTo(offset) == Next::kOn) textEnd_ = offset_;
    return false;
  }
  const int64_t linesOffset = offset + static_cast<int64_t>(slot.linesStart);
  if (!slot.hasLines) {
    // Inside a line longer than a window: searched here now, to its end,
    // while the workers wait (they would only find it has no LF).
    return offset_ >= offset + static_cast<int64_t>(slot.size) ||
           SearchOnTo(offset + static_cast<int64_t>(slot.size)) == Next::kOn;
  }
  // Lines searched here that reached past the window's first (a file changed
  // between two looks) leave the rest to be searched from there, with the
  // next window's.
  return offset_ > linesOffset || (SearchOnTo(linesOffset) == Next::kOn && TakeAlone(slot) == Next::kOn);
}

LineSearchResult Searcher::Run(int workers) {
  if (index_) {
    while (!index_->Empty() && index_->HighestKey() >= nextBlock_) index_->Erase(index_->HighestKey());
    // A start at a block's first line passes no LF for it: the earlier
    // search, which ended with the line before, had no line there to note.
    const suite::BlockKey startBlock = suite::BlockAfter(start_.linesBefore);
    if (suite::LinesBeforeBlock(startBlock) == start_.linesBefore) SetEntry(startBlock, start_.offset.value);
  }
  suite::RunOrderedScan(
      workers, file_.Size(), start_.offset, capacity_,
      [this](int count) {
        // A lone worker hands its matches over a part at a time, while their
        // lines are still in the processor's cache; workers side by side keep
        // a window's worth, to be taken while they go on.
        auto slot = std::make_unique<Slot>(file_, capacity_, count == 1 ? suite::kPartMatches : suite::kAheadMatches);
        if (hints_) slot->hintCursor = hints_->Entries().begin();
        return slot;
      },
      [this](Slot& slot, suite::ByteOffset offset) { ScanWindow(slot, offset.value); },
      [this](Slot& slot, suite::ByteOffset offset) { return TakeWindow(slot, offset.value); });
  if (!result_.stopped) result_.linesRead = completed_;
  if (!result_.stopped && !result_.readFailed) result_.textEnd = suite::ByteOffset{textEnd_};
  if (!result_.readFailed && !result_.stopped && index_) {
    // Entry 0 when the text has a line, and none for a block that no line
    // started (one recorded after the last LF, with nothing behind it).
    if (completed_.value == 0) {
      index_->Clear();
    } else {
      index_->Set(suite::BlockKey{0}, suite::ByteOffset{0});
      const suite::BlockKey lastKey = suite::LastBlock(completed_);
      while (index_->HighestKey() > lastKey) index_->Erase(index_->HighestKey());
    }
  }
  return result_;
}

}  // namespace

LineSearchResult SearchLines(suite::ExclusiveFile& file, const KeywordMatcher& matcher, LineSink& sink,
                             int64_t checkpointStride, size_t windowSize, QuickIndex* index, const QuickIndex* hints,
                             int workers, SearchStart start) {
  return Searcher(file, matcher, sink, checkpointStride, windowSize, index, hints, start).Run(workers);
}

}  // namespace lorvane
