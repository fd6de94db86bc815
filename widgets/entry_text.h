// What a list row shows of an entry's text.
#pragma once

#include <QString>
#include <cstddef>
#include <string_view>

#include "common/codepage.h"

namespace suite {

// A row shows at most this many bytes of its entry: a dozen list widths when
// scrolled, and few enough that measuring and drawing a row stays far below a
// millisecond. Laying out a line of megabytes for every paint froze the window.
inline constexpr size_t kShownEntryBytes = 2048;

// The shown part of a code-page text: its first kShownEntryBytes bytes, cut
// before a whole character, with "…" where it was cut; a line end at its end
// dropped and other control characters shown as blanks, so a row is one line.
QString ShownEntryText(std::string_view text);
// The same for text of the given code page (a log's lines).
QString ShownEntryText(std::string_view text, CodePage codePage);

}  // namespace suite
