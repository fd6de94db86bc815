#include "widgets/display_check.h"

#include <cstdio>

namespace suite {

void PrintNoDisplayNotice(const char* program, const std::string& reason, const char* consoleHint) {
  std::fprintf(stderr, "%s: no display to show the window on (%s).\n", program, reason.c_str());
  if (consoleHint) std::fprintf(stderr, "%s\n", consoleHint);
}

bool ReportMissingDisplay(const char* program, const char* consoleHint) {
  const std::string reason = MissingDisplayReason();
  if (reason.empty()) return false;
  PrintNoDisplayNotice(program, reason, consoleHint);
  return true;
}

}  // namespace suite
