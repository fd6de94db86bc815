// The piece size (lines per piece file): its default and the range Apply accepts.
#pragma once

#include <cstdint>

namespace cleavora {

// A million lines of a typical log is some 100 MB: small enough for any editor.
inline constexpr int64_t kDefaultLinesPerPiece = 1000000;

// The range Apply accepts. The worker itself takes any value (tests split with
// a few lines a piece); a value below 1 closes a piece after every line.
inline constexpr int64_t kMinLinesPerPiece = 10000;
inline constexpr int64_t kMaxLinesPerPiece = 1000000000;

inline constexpr bool IsPieceSizeInRange(int64_t lines) {
  return lines >= kMinLinesPerPiece && lines <= kMaxLinesPerPiece;
}

}  // namespace cleavora
