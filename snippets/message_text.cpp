#include "snippets/message_text.h"

namespace snipkeep {

std::string MessageTextOf(suite::CodePage fileCodePage, std::string_view text) {
  const suite::CodePage messageCodePage = suite::ActiveCodePage();
  if (fileCodePage == messageCodePage) return std::string(text);
  if (messageCodePage == suite::CodePage::Utf8) return suite::CodePageToUtf8(fileCodePage, text);
  // UTF-8 into GBK: PathText spells a path's characters this way, and a
  // file's text needs just the same.
  return suite::PathText(text);
}

}  // namespace snipkeep
