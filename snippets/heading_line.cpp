#include "snippets/heading_line.h"

namespace snipkeep {

bool IsHeadingLine(suite::CodePage codePage, std::string_view line) {
  bool bracketSeen = false;
  bool bracketAfterStart = false;
  bool lastIsClosing = false;
  for (size_t pos = 0; pos < line.size();) {
    const size_t length = suite::CharLength(codePage, line, pos);
    const bool single = length == 1;
    if (!bracketSeen && single && line[pos] == '[') {
      bracketSeen = true;
      bracketAfterStart = pos > 0;
    }
    lastIsClosing = single && line[pos] == ']';
    pos += length;
  }
  return bracketAfterStart && lastIsClosing;
}

}  // namespace snipkeep
