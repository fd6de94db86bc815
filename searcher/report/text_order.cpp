#include "searcher/report/text_order.h"

#include "common/codepage.h"

namespace lorvane {
namespace {

unsigned GbkCharacterAt(std::string_view text, size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at++]);
  if (!suite::IsGbkLeadByte(lead) || at == text.size()) return lead;
  return lead << 8 | static_cast<unsigned char>(text[at++]);
}

int CompareGbk(std::string_view left, std::string_view right) {
  size_t l = 0, r = 0;
  while (l < left.size() && r < right.size()) {
    const unsigned a = GbkCharacterAt(left, l);
    const unsigned b = GbkCharacterAt(right, r);
    if (a != b) return a < b ? -1 : 1;
  }
  if (l < left.size()) return 1;
  return r < right.size() ? -1 : 0;
}

}  // namespace

int CompareText(std::string_view left, std::string_view right) {
  if (suite::ActiveCodePage() == suite::CodePage::Gbk) return CompareGbk(left, right);
  // char_traits<char> compares bytes as unsigned char.
  const int byBytes = left.compare(right);
  return (byBytes > 0) - (byBytes < 0);
}

}  // namespace lorvane
