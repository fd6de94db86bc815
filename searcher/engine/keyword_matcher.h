// Finds the lines that contain a keyword, block by block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/codepage.h"

namespace lorvane {

// A keyword prepared for one search. A line matches when the keyword occurs in
// it starting on a character boundary of the code page; without match case the
// single-byte letters A-Z of keyword and line compare as a-z, double-byte
// characters (their trail bytes included) compare as they are. An empty
// keyword matches every line.
//
// FindCandidate scans raw blocks with a vectorised two-byte filter (the two
// rarest bytes of the keyword) confirmed by a compare; LineMatches then checks
// the character boundary on the candidate's line.
class KeywordMatcher {
 public:
  KeywordMatcher(std::string keyword, bool matchCase, suite::CodePage codePage);

  bool Empty() const { return keyword_.empty(); }
  size_t Size() const { return keyword_.size(); }
  suite::CodePage CodePage() const { return codePage_; }

  // Position of the first byte-level occurrence in [data, data + length), or
  // length when there is none. Occurrences may start inside a character.
  size_t FindCandidate(const char* data, size_t length) const;
  // The same in a text that ends at its first 0x1A byte: an occurrence must
  // end before it, and where none does, its position is given and `ended`
  // set. Adds the number of LFs before the position given to `newlines`,
  // counted in the same pass.
  size_t FindCandidateInText(const char* data, size_t length, uint64_t& newlines, bool& ended) const;

  // True when the line holds the keyword on a character boundary. `from` is a
  // position in the line before which no occurrence lies (a candidate's).
  bool LineMatches(std::string_view line, size_t from = 0) const;

 private:
  bool EqualAt(const char* at) const;
  size_t FindCandidateScalar(const char* data, size_t length) const;
  template <bool kInText>
  size_t Find(const char* data, size_t length, uint64_t& newlines, bool& ended) const;
  template <bool kInText>
  size_t FindInTail(const char* data, size_t length, uint64_t& newlines, bool& ended) const;

  std::string keyword_;        // folded when case is ignored
  bool impossible_ = false;    // the keyword holds 0x1A, which ends every text
  std::vector<char> foldable_; // 1 where the keyword holds a single-byte letter that folds
  bool ignoreCase_;
  suite::CodePage codePage_;
  size_t rare1_ = 0, rare2_ = 0;  // offsets of the two bytes the filter looks for
};

}  // namespace lorvane
