#include "searcher/engine/window_search.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "common/cut_guard.h"
#include "common/newline_count.h"
#include "common/text_model.h"
#include "searcher/engine/keyword_matcher.h"

namespace lorvane::window_search {
namespace {

// Records where every 10000th line ends, so the line after it starts a block
// of the quick index. LFs are counted in bulk; one is located only where the
// count passes a multiple of the stride, once per block of lines.
void PassNewlines(const char* data, size_t from, size_t to, uint64_t count, int64_t base, SearchState& state,
                  Findings& findings) {
  int64_t completed = state.completed.value;
  while (count > 0 && completed + static_cast<int64_t>(count) >= suite::LinesBeforeBlock(state.nextBlock).value) {
    const auto wanted = static_cast<uint64_t>(suite::LinesBeforeBlock(state.nextBlock).value - completed);
    const size_t lf = from + suite::FindNthNewline(data + from, to - from, wanted).position;
    findings.entries[findings.entryCount++] = {state.nextBlock, suite::ByteOffset{base + static_cast<int64_t>(lf) + 1}};
    completed = suite::LinesBeforeBlock(state.nextBlock).value;
    ++state.nextBlock.value;
    count -= wanted;
    from = lf + 1;
  }
}

// The LF at file offset `lfOffset` completed line `line`.
void PassNewline(suite::LineNumber line, int64_t lfOffset, SearchState& state, Findings& findings) {
  if (line.value != suite::LinesBeforeBlock(state.nextBlock).value) return;
  findings.entries[findings.entryCount++] = {state.nextBlock, suite::ByteOffset{lfOffset + 1}};
  ++state.nextBlock.value;
}

// The line a candidate at `candidate` lies in, within data[pos, end) where
// pos starts a line: where it starts, where its text ends (without a CR
// before its LF), and whether it ends at an LF or at the text's end (a 0x1A).
struct CandidateLine {
  size_t start;
  size_t end;      // its LF, its 0x1A, or `end`
  size_t textEnd;
  bool atLf;
  bool endsText;
};

CandidateLine LineOfCandidate(const char* data, size_t pos, size_t candidate, size_t end) {
  CandidateLine line{};
  const char* lfBefore = candidate > pos ? suite::FindLastNewline(data + pos, candidate - pos) : nullptr;
  line.start = lfBefore ? static_cast<size_t>(lfBefore - data) + 1 : pos;
  const suite::LineEnd lineEnd = suite::FindLineEnd(data, candidate, end);
  line.end = lineEnd.at;
  line.atLf = lineEnd.atLf;
  line.endsText = lineEnd.endsText;
  line.textEnd = suite::LineTextEnd(data, line.start, lineEnd);
  return line;
}

}  // namespace

PartEnd SearchPart(const char* data, size_t size, bool last, int64_t base, const KeywordMatcher& matcher,
                   SearchState& state, Findings& findings) {
  size_t end = size;
  if (!last) {  // work on whole lines only
    const char* lastLf = suite::FindLastNewline(data, size);
    end = lastLf ? static_cast<size_t>(lastLf - data) + 1 : 0;
  }
  size_t pos = state.pos;
  while (pos < end) {
    // pos is a line start, so the LFs before the candidate are the lines completed before its line.
    uint64_t lfs = 0;
    bool textEnded = false;
    const size_t candidate = pos + matcher.FindCandidateInText(data + pos, end - pos, lfs, textEnded);
    PassNewlines(data, pos, std::min(candidate, end), lfs, base, state, findings);
    state.completed.value += static_cast<int64_t>(lfs);
    if (textEnded) {  // at `candidate`; a line cut short by it still counts
      if (candidate > pos && data[candidate - 1] != '\n') ++state.completed.value;
      state.pos = candidate;
      return PartEnd::kTextEnded;
    }
    if (candidate >= end) {
      pos = end;
      break;
    }
    const CandidateLine line = LineOfCandidate(data, pos, candidate, end);
    const suite::LineNumber lineNumber{state.completed.value + 1};
    const std::string_view text(data + line.start, line.textEnd - line.start);
    if (matcher.LineMatches(text, candidate - line.start)) {
      findings.matches.push_back({state.completed, line.start, text.size()});
    }
    state.completed = suite::LineCount{lineNumber.value};
    if (!line.atLf) {  // the last line, without LF, or one the text's end cuts short
      state.pos = line.end;
      return line.endsText ? PartEnd::kTextEnded : PartEnd::kWindowDone;
    }
    PassNewline(lineNumber, base + static_cast<int64_t>(line.end), state, findings);
    pos = line.end + 1;
    state.pos = pos;
    if (findings.Full() && pos < end) return PartEnd::kFull;
  }
  state.pos = pos;
  if (last && end > 0 && pos == end && data[end - 1] != '\n') {
    ++state.completed.value;  // the last line, without LF, holds no candidate
  }
  return PartEnd::kWindowDone;
}

void SearchAlone(const char* data, size_t size, const KeywordMatcher& matcher, AloneResult& result) {
  result.findings.Clear();
  result.state = SearchState{};
  result.state.nextBlock = suite::BlockKey{INT64_MAX / suite::kQuickIndexStride};  // none
  result.end = PartEnd::kWindowDone;
  result.cut = false;
  const bool searched = suite::ScanUnlessCut(data, size, [&] {
    // Only hints at line starts split the search: a keyword (without LF)
    // can't run across them.
    for (AloneResult::Hint& hint : result.hints) {
      hint.lineStart = false;
      if (hint.pos == 0 || hint.pos > size || data[hint.pos - 1] != '\n' || hint.pos < result.state.pos) continue;
      result.end = SearchPart(data, hint.pos, false, 0, matcher, result.state, result.findings);
      // Full just at the hint: no room for the next part.
      if (result.end == PartEnd::kWindowDone && result.findings.Full()) result.end = PartEnd::kFull;
      if (result.end != PartEnd::kWindowDone) return;
      hint.linesBefore = result.state.completed;
      hint.lineStart = true;
    }
    result.end = SearchPart(data, size, false, 0, matcher, result.state, result.findings);
  });
  if (!searched) result.cut = true;
}

}  // namespace lorvane::window_search
