#include "widgets/entry_text.h"

#include "common/codepage.h"
#include "widgets/qt_text.h"

namespace suite {

QString ShownEntryText(std::string_view text) { return ShownEntryText(text, ActiveCodePage()); }

QString ShownEntryText(std::string_view text, CodePage codePage) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  bool cut = false;
  if (text.size() > kShownEntryBytes) {
    size_t end = kShownEntryBytes;
    while (end > 0 && !IsCharBoundary(codePage, text, end)) --end;
    text = text.substr(0, end);
    cut = true;
  }
  QString shown = FromCodePage(text, codePage);
  for (QChar& c : shown) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char(' ');
  }
  if (cut) shown += QChar(0x2026);
  return shown;
}

}  // namespace suite
