#include "common/line_reader.h"

#include <cstring>
#include <new>

#include "common/cut_guard.h"
#include "common/exclusive_file.h"
#include "common/text_model.h"

namespace suite {

LineReader::LineReader(ExclusiveFile& file, int64_t startOffset, size_t windowSize) : window_(file, windowSize) {
  LoadAt(startOffset);
}

bool LineReader::LoadAt(int64_t offset) {
  pos_ = 0;
  if (!window_.Load(offset)) {
    failed_ = true;
    cut_ = window_.WasCut();
    return false;
  }
  return true;
}

bool LineReader::CopyOut(size_t from, size_t count, char* to) {
  const char* bytes = window_.Data() + from;
  if (count == 0 || ScanUnlessCut(bytes, count, [&] { std::memcpy(to, bytes, count); })) return true;
  failed_ = cut_ = true;
  return false;
}

bool LineReader::FindLineEnd(size_t* end, bool* atLf, bool* textEnds) {
  const char* data = window_.Data();
  const size_t size = window_.Size();
  const size_t from = pos_;
  const bool scanned = ScanUnlessCut(data, size, [&] {
    const LineEnd found = suite::FindLineEnd(data, from, size);
    *end = found.at;
    *atLf = found.atLf;
    *textEnds = found.endsText;
  });
  if (!scanned) failed_ = cut_ = true;
  return scanned;
}

// Hands the line at pos_ to `part` piece by piece: part(from, count, last)
// for window bytes, part(SIZE_MAX, 1, last) for a CR held back at a window's
// end that turned out to be the line's own. The line's start offset goes to
// lineOffset_.
template <typename Part>
bool LineReader::WalkLine(Part&& part) {
  if (textEnded_ || failed_) return false;
  if (pos_ == window_.Size()) {  // the window is used up: the next one starts here
    if (window_.ReachesEnd()) {
      textEnded_ = true;
      return false;
    }
    if (!LoadAt(window_.Offset() + static_cast<int64_t>(pos_))) return false;
  }
  bool first = true;
  bool heldCr = false;  // the last piece ended in a CR that an LF may follow
  for (;;) {
    size_t end = 0;
    bool atLf = false, textEnds = false;
    if (!FindLineEnd(&end, &atLf, &textEnds)) return false;
    const bool goesOn = !atLf && !textEnds && !window_.ReachesEnd();
    if (first && goesOn && pos_ > 0) {  // a window from the line's start may hold it whole
      if (!LoadAt(window_.Offset() + static_cast<int64_t>(pos_))) return false;
      continue;
    }
    if (first && !atLf && end == pos_ && !goesOn) {  // the text ends where a line would start
      textEnded_ = true;
      return false;
    }
    if (first) lineOffset_ = window_.Offset() + static_cast<int64_t>(pos_);
    char lastByte = 0;
    if (end > pos_ && !CopyOut(end - 1, 1, &lastByte)) return false;
    size_t pieceEnd = end;
    if (lastByte == '\r' && (atLf || goesOn)) --pieceEnd;  // before the LF, or perhaps before one
    if (heldCr && !(atLf && end == pos_) && !part(SIZE_MAX, 1, false)) return false;
    if (!part(pos_, pieceEnd - pos_, !goesOn)) return false;
    heldCr = goesOn && lastByte == '\r';
    first = false;
    if (!goesOn) {
      pos_ = atLf ? end + 1 : end;
      if (textEnds || (!atLf && window_.ReachesEnd())) textEnded_ = true;
      return true;
    }
    if (!LoadAt(window_.Offset() + static_cast<int64_t>(window_.Size()))) return false;
    if (window_.Size() == 0) {  // cut since the window before was taken
      failed_ = cut_ = true;
      return false;
    }
  }
}

bool LineReader::Next(TextLine& line) {
  held_.clear();
  const bool got = WalkLine([&](size_t from, size_t count, bool) {
    try {
      const size_t at = held_.size();
      held_.resize(at + count);
      if (from == SIZE_MAX) {
        held_[at] = '\r';
        return true;
      }
      return CopyOut(from, count, held_.data() + at);
    } catch (const std::bad_alloc&) {  // a line of gigabytes
      std::string().swap(held_);
      failed_ = outOfMemory_ = true;
      return false;
    }
  });
  line.text = held_;
  line.offset = lineOffset_;
  return got;
}

bool LineReader::Skip() {
  return WalkLine([](size_t, size_t, bool) { return true; });
}

bool LineReader::NextInParts(const std::function<bool(std::string_view part, bool last)>& part) {
  std::string copy;
  return WalkLine([&](size_t from, size_t count, bool last) {
    if (from == SIZE_MAX) return part("\r", last);
    copy.resize(count);
    return CopyOut(from, count, copy.data()) && part(copy, last);
  });
}

}  // namespace suite
