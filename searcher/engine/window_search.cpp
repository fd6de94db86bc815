#include "searcher/engine/window_search.h"

#include <string_view>

#include "common/cut_guard.h"
#include "common/text_model.h"
#include "searcher/engine/keyword_matcher.h"

namespace lorvane::window_search {
namespace {

// Searches the whole lines of data[result.pos, size) until they end, the
// room for matches is full or the text ends.
PartEnd SearchPart(const char* data, size_t size, const KeywordMatcher& matcher, AloneResult& result) {
  const char* lastLf = suite::FindLastNewline(data, size);
  const size_t end = lastLf ? static_cast<size_t>(lastLf - data) + 1 : 0;
  while (result.pos < end) {
    // pos is a line start, so the LFs before the candidate are the lines completed before its line.
    const size_t pos = result.pos;
    uint64_t lfs = 0;
    bool textEnded = false;
    const size_t candidate = pos + matcher.FindCandidateInText(data + pos, end - pos, lfs, textEnded);
    result.completed.value += static_cast<int64_t>(lfs);
    if (textEnded) {  // at `candidate`; a line cut short by it still counts
      if (candidate > pos && data[candidate - 1] != '\n') ++result.completed.value;
      result.pos = candidate;
      return PartEnd::kTextEnded;
    }
    if (candidate >= end) break;
    // The candidate's line: from the LF before it to its LF or the 0x1A that ends the text.
    const char* lfBefore = candidate > pos ? suite::FindLastNewline(data + pos, candidate - pos) : nullptr;
    const size_t lineStart = lfBefore ? static_cast<size_t>(lfBefore - data) + 1 : pos;
    const suite::LineEnd lineEnd = suite::FindLineEnd(data, candidate, end);
    const std::string_view text(data + lineStart, suite::LineTextEnd(data, lineStart, lineEnd) - lineStart);
    if (matcher.LineMatches(text, candidate - lineStart)) {
      result.matches.push_back({result.completed, lineStart, text.size()});
    }
    ++result.completed.value;
    if (!lineEnd.atLf) {  // the text's end cuts the line short: the lines end with an LF
      result.pos = lineEnd.at;
      return PartEnd::kTextEnded;
    }
    result.pos = lineEnd.at + 1;
    if (result.Full() && result.pos < end) return PartEnd::kFull;
  }
  result.pos = end;
  return PartEnd::kWindowDone;
}

}  // namespace

void SearchAlone(const char* data, size_t size, const KeywordMatcher& matcher, AloneResult& result) {
  result.matches.clear();
  result.completed = suite::LineCount{0};
  result.pos = 0;
  result.end = PartEnd::kWindowDone;
  result.cut = !suite::ScanUnlessCut(data, size, [&] {
    // Only hints at line starts split the search: a keyword (without LF)
    // can't run across them.
    for (AloneResult::Hint& hint : result.hints) {
      hint.lineStart = false;
      if (hint.pos == 0 || hint.pos > size || data[hint.pos - 1] != '\n' || hint.pos < result.pos) continue;
      result.end = SearchPart(data, hint.pos, matcher, result);
      // Full just at the hint: no room for the next part.
      if (result.end == PartEnd::kWindowDone && result.Full()) result.end = PartEnd::kFull;
      if (result.end != PartEnd::kWindowDone) return;
      hint.linesBefore = result.completed;
      hint.lineStart = true;
    }
    result.end = SearchPart(data, size, matcher, result);
  });
}

}  // namespace lorvane::window_search
