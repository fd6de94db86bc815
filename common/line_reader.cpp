#include "common/line_reader.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "common/cut_guard.h"
#include "common/exclusive_file.h"
#include "common/text_model.h"

namespace suite {

// Two bytes at least: a window after one that ended in a CR starts at that CR.
LineReader::LineReader(ExclusiveFile& file, int64_t startOffset, size_t windowSize)
    : window_(file, std::max<size_t>(windowSize, 2)) {
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

// Hands the line at pos_ to `part` piece by piece: part(from, count, last)
// for window bytes. A piece that ends in a CR leaves it to the next window,
// which starts with it: the CR of a CR LF is no text. The line's start offset
// goes to lineOffset_.
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
  for (;;) {
    // The line's end in the window, and the byte before it.
    const char* data = window_.Data();
    LineEnd found;
    char lastByte = 0;
    if (!ScanUnlessCut(data, window_.Size(), [&] {
          found = suite::FindLineEnd(data, pos_, window_.Size());
          if (found.at > pos_) lastByte = data[found.at - 1];
        })) {
      failed_ = cut_ = true;
      return false;
    }
    const size_t end = found.at;
    const bool atLf = found.atLf, textEnds = found.endsText;
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
    size_t pieceEnd = end;
    if (lastByte == '\r' && (atLf || goesOn)) --pieceEnd;  // before the LF, or perhaps before one
    if (!part(pos_, pieceEnd - pos_, !goesOn)) return false;
    first = false;
    if (!goesOn) {
      pos_ = atLf ? end + 1 : end;
      if (textEnds || (!atLf && window_.ReachesEnd())) textEnded_ = true;
      return true;
    }
    if (!LoadAt(window_.Offset() + static_cast<int64_t>(pieceEnd))) return false;
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
    copy.resize(count);
    return CopyOut(from, count, copy.data()) && part(copy, last);
  });
}

}  // namespace suite
