#include "searcher/engine/count_text.h"

#include <cinttypes>
#include <cstdio>

#include "common/codepage.h"

namespace lorvane {

std::string FormatCountText(int64_t count) {
  char digits[64];
  std::snprintf(digits, sizeof digits, " %" PRId64 " %04" PRId64 " ", count / 10000, count % 10000);
  return suite::Cp("共") + digits + suite::Cp("行");
}

std::string FormatReadLinesText(int64_t lines) {
  char digits[32];
  std::snprintf(digits, sizeof digits, " %" PRId64 " ", lines);
  return suite::Cp("读入") + digits + suite::Cp("行");
}

}  // namespace lorvane
