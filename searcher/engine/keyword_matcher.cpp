#include "searcher/engine/keyword_matcher.h"

#include <array>
#include <cstring>

#include "common/newline_count.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "common/cpu_features.h"

namespace lorvane {
namespace {

bool IsLowerLetter(unsigned char byte) { return byte >= 'a' && byte <= 'z'; }

// How common a byte is in log text (higher is more common): the filter looks
// for the keyword's two rarest bytes, so that it stops at few false candidates.
int Commonness(unsigned char byte) {
  static const std::array<int, 256> table = [] {
    std::array<int, 256> rank{};
    for (int b = 0; b < 256; ++b) rank[b] = b >= 0x80 ? 40 : 10;  // other bytes: rare
    for (unsigned char c : std::string_view("etaoinshrdlucmfwypvbgkjqxz")) {
      rank[c] = 200 - 6 * static_cast<int>(std::string_view("etaoinshrdlucmfwypvbgkjqxz").find(static_cast<char>(c)));
    }
    for (unsigned char c = 'A'; c <= 'Z'; ++c) rank[c] = 60;
    for (unsigned char c = '0'; c <= '9'; ++c) rank[c] = 190;
    for (unsigned char c : std::string_view(" :-./_=,[]()\t")) rank[c] = 220;
    rank[' '] = 255;
    return rank;
  }();
  return table[byte];
}

}  // namespace

KeywordMatcher::KeywordMatcher(std::string keyword, bool matchCase, suite::CodePage codePage)
    : keyword_(std::move(keyword)), ignoreCase_(!matchCase), codePage_(codePage) {
  impossible_ = keyword_.find('\x1A') != std::string::npos;
  if (ignoreCase_) suite::FoldAsciiCase(codePage_, keyword_);
  foldable_.assign(keyword_.size(), 0);
  if (ignoreCase_) {
    for (size_t i = 0; i < keyword_.size(); i += suite::CharLength(codePage_, keyword_, i)) {
      if (IsLowerLetter(static_cast<unsigned char>(keyword_[i]))) foldable_[i] = 1;
    }
  }
  // The two rarest bytes at different offsets (one byte when the keyword is one byte).
  const auto rank = [this](size_t i) { return Commonness(static_cast<unsigned char>(keyword_[i])); };
  for (size_t i = 1; i < keyword_.size(); ++i) {
    if (rank(i) < rank(rare1_)) rare1_ = i;
  }
  rare2_ = rare1_;
  for (size_t i = 0; i < keyword_.size(); ++i) {
    if (i != rare1_ && (rare2_ == rare1_ || rank(i) < rank(rare2_))) rare2_ = i;
  }
}

bool KeywordMatcher::EqualAt(const char* at) const {
  const size_t size = keyword_.size();
  if (!ignoreCase_) return std::memcmp(at, keyword_.data(), size) == 0;
  for (size_t i = 0; i < size; ++i) {
    const auto byte = static_cast<unsigned char>(at[i]);
    if ((foldable_[i] ? byte | 0x20 : byte) != static_cast<unsigned char>(keyword_[i])) return false;
  }
  return true;
}

size_t KeywordMatcher::FindCandidateScalar(const char* data, size_t length) const {
  const size_t size = keyword_.size();  // not 0
  const auto first = static_cast<unsigned char>(keyword_[0]);
  for (size_t i = 0; i + size <= length; ++i) {
    const auto byte = static_cast<unsigned char>(data[i]);
    if ((foldable_[0] ? (byte | 0x20) : byte) == first && EqualAt(data + i)) return i;
  }
  return length;
}

#if defined(__x86_64__)
namespace {

// Bytes at `at` equal to `byte` after OR `fold` (0x20 where case folds, else 0:
// no branch in the loop).
__attribute__((target("avx2"))) inline __m256i MatchByte(const char* at, __m256i byte, __m256i fold) {
  const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
  return _mm256_cmpeq_epi8(_mm256_or_si256(block, fold), byte);
}

struct Filter {
  size_t offset1, offset2;
  char byte1, byte2;
  bool fold1, fold2;
};

// Runs the two-byte filter over 64 candidate starts at a time and confirms each
// hit with `equalAt`; gives the first confirmed start, or where the vector part
// stopped (the caller finishes the tail, under 64 starts). With kInText it also
// counts the LFs before the position it gives, in the same pass over the bytes,
// and stops at the 64 starts whose bytes hold a 0x1A (the keyword holds none,
// so a 0x1A among the candidates' later bytes fails their compare).
template <bool kInText, typename EqualAt>
__attribute__((target("avx2"))) size_t FilterAvx2(const char* data, size_t length, size_t size, const Filter& filter,
                                                  EqualAt equalAt, bool& found, uint64_t& newlines) {
  // The filter's fields in locals: the calls to `equalAt` would have them
  // read from memory on every step.
  const __m256i byte1 = _mm256_set1_epi8(filter.byte1);
  const __m256i byte2 = _mm256_set1_epi8(filter.byte2);
  const __m256i fold1 = _mm256_set1_epi8(filter.fold1 ? 0x20 : 0);
  const __m256i fold2 = _mm256_set1_epi8(filter.fold2 ? 0x20 : 0);
  const char* const at1 = data + filter.offset1;
  const char* const at2 = data + filter.offset2;
  const __m256i lf = _mm256_set1_epi8('\n');
  const __m256i endOfText = _mm256_set1_epi8(suite::kEndOfText);
  uint64_t counted = 0;
  size_t i = 0;
  found = false;
  // One test for a 0x1A and one for a candidate a step, one count of the LFs.
  // Candidate starts i .. i + 63 need bytes up to i + 63 + size - 1.
  for (; i + 64 + size - 1 <= length; i += 64) {
    uint64_t lfMask = 0;
    if constexpr (kInText) {
      const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
      const __m256i second = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + 32));
      const __m256i ends = _mm256_or_si256(_mm256_cmpeq_epi8(first, endOfText), _mm256_cmpeq_epi8(second, endOfText));
      if (!_mm256_testz_si256(ends, ends)) break;
      lfMask = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(first, lf))) |
               static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(second, lf)))) << 32;
    }
    const __m256i low = _mm256_and_si256(MatchByte(at1 + i, byte1, fold1),
                                         MatchByte(at2 + i, byte2, fold2));
    const __m256i high = _mm256_and_si256(MatchByte(at1 + i + 32, byte1, fold1),
                                          MatchByte(at2 + i + 32, byte2, fold2));
    const __m256i either = _mm256_or_si256(low, high);
    if (!_mm256_testz_si256(either, either)) {
      uint64_t mask = static_cast<uint32_t>(_mm256_movemask_epi8(low)) |
                      static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(high))) << 32;
      while (mask) {
        const unsigned bit = static_cast<unsigned>(__builtin_ctzll(mask));
        if (equalAt(data + i + bit)) {
          if constexpr (kInText) {
            newlines += counted + static_cast<uint64_t>(__builtin_popcountll(lfMask & ((1ull << bit) - 1)));
          }
          found = true;
          return i + bit;
        }
        mask &= mask - 1;
      }
    }
    if constexpr (kInText) counted += static_cast<uint64_t>(__builtin_popcountll(lfMask));
  }
  if constexpr (kInText) newlines += counted;
  return i;
}

}  // namespace
#endif

size_t KeywordMatcher::FindCandidate(const char* data, size_t length) const {
  uint64_t newlines = 0;
  bool ended = false;
  return Find<false>(data, length, newlines, ended);
}

size_t KeywordMatcher::FindCandidateInText(const char* data, size_t length, uint64_t& newlines, bool& ended) const {
  return Find<true>(data, length, newlines, ended);
}

template <bool kInText>
size_t KeywordMatcher::Find(const char* data, size_t length, uint64_t& newlines, bool& ended) const {
  ended = false;
  const size_t size = keyword_.size();
  if (size == 0) return 0;
#if defined(__x86_64__)
  // A keyword that can never match in a text needs only the text's end found.
  if (suite::HasAvx2() && length >= size && !(kInText && impossible_)) {
    const Filter filter{rare1_, rare2_, keyword_[rare1_], keyword_[rare2_], foldable_[rare1_] != 0,
                        foldable_[rare2_] != 0};
    bool found = false;
    const size_t stop = FilterAvx2<kInText>(data, length, size, filter, [this](const char* p) { return EqualAt(p); },
                                            found, newlines);
    if (found) return stop;
    // The tail, or the 64 starts that hold the text's end: byte by byte.
    return stop + FindInTail<kInText>(data + stop, length - stop, newlines, ended);
  }
#endif
  return FindInTail<kInText>(data, length, newlines, ended);
}

template <bool kInText>
size_t KeywordMatcher::FindInTail(const char* data, size_t length, uint64_t& newlines, bool& ended) const {
  const void* stop = kInText ? std::memchr(data, suite::kEndOfText, length) : nullptr;
  const size_t limit = stop ? static_cast<size_t>(static_cast<const char*>(stop) - data) : length;
  const size_t at = kInText && impossible_ ? limit : FindCandidateScalar(data, limit);
  ended = stop && at == limit;
  // No 0x1A lies before `at`: the count runs to it.
  if constexpr (kInText) newlines += suite::FindNthNewline(data, at, UINT64_MAX).counted;
  return at;
}

bool KeywordMatcher::LineMatches(std::string_view line, size_t from) const {
  const size_t size = keyword_.size();
  if (size == 0) return true;
  // Mostly the candidate itself holds: no second pass over the line.
  if (from + size <= line.size() && EqualAt(line.data() + from)) {
    if (suite::StartsCharacterAt(codePage_, line.data(), from)) return true;
    ++from;
  }
  while (from + size <= line.size()) {
    const size_t found = from + FindCandidate(line.data() + from, line.size() - from);
    if (found + size > line.size()) return false;
    if (suite::StartsCharacterAt(codePage_, line.data(), found)) return true;
    from = found + 1;
  }
  return false;
}

}  // namespace lorvane
