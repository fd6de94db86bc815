#include "searcher/history/decimal_text.h"

#include <limits>

namespace lorvane {

int64_t ReadDecimal(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  uint64_t value = 0;
  const uint64_t limit = negative ? uint64_t{1} << 63 : static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    const auto digit = static_cast<uint64_t>(text[at] - '0');
    value = value > (limit - digit) / 10 ? limit : value * 10 + digit;
  }
  if (!negative) return static_cast<int64_t>(value);
  return value == (uint64_t{1} << 63) ? std::numeric_limits<int64_t>::min() : -static_cast<int64_t>(value);
}

}  // namespace lorvane
