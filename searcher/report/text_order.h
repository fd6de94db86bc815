// The order of cell texts in the report list's sort.
#pragma once

#include <string_view>

namespace lorvane {

// Case-sensitive comparison by characters of the code page in force: < 0, 0 or
// > 0. In GBK a double-byte character counts as lead * 256 + trail, so it
// sorts after every single byte (also 0x80 and 0xFF); a lead byte at the very
// end counts as a single byte. In UTF-8 byte order is code point order. A
// text sorts before every longer text it begins.
int CompareText(std::string_view left, std::string_view right);

}  // namespace lorvane
