#include "common/name_order.h"

#include <string>

#include "common/codepage.h"

namespace suite {

bool NameSortsBefore(std::string_view left, std::string_view right) {
  const suite::CodePage codePage = suite::ActiveCodePage();
  const int folded = suite::FoldedAsciiCase(codePage, left).compare(suite::FoldedAsciiCase(codePage, right));
  if (folded != 0) return folded < 0;
  return left < right;
}

}  // namespace suite
