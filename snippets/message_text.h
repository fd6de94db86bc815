// Text of a list file as text of the message code page, the one every text
// inside Snipkeep is in.
#pragma once

#include <string>
#include <string_view>

#include "common/codepage.h"

namespace snipkeep {

// `text`, in `fileCodePage`, as text of the code page in force, for the
// snippet list, the boxes and the clipboard. The same code page keeps the
// bytes. GBK into UTF-8 writes a byte that doesn't decode as the text "\xNN".
// UTF-8 into GBK keeps a character GBK lacks as its four GB18030 bytes, which
// the windows show and copy as that character, and writes a byte that isn't
// UTF-8 as "\xNN".
std::string MessageTextOf(suite::CodePage fileCodePage, std::string_view text);

// Text of a window (UTF-8) as text of the code page in force, every character
// kept as above: a copy of a box loses nothing the box shows.
inline std::string MessageTextOfUtf8(std::string_view utf8) {
  return MessageTextOf(suite::CodePage::Utf8, utf8);
}

}  // namespace snipkeep
