// Which lines of a list file head a multi-line snippet.
#pragma once

#include <string_view>

#include "common/codepage.h"

namespace snipkeep {

// A heading line's first "[" is its second character or a later one, and its
// last character is "]". Lines are walked by characters of the code page, so
// a trail byte 0x5B or 0x5D of a double-byte character is never a bracket.
bool IsHeadingLine(suite::CodePage codePage, std::string_view line);

}  // namespace snipkeep
