// Searching the clipboard's text like a file.
#pragma once

#include <string>
#include <string_view>

namespace lorvane {

class LorvaneWindow;
struct SearchContext;

// The clipboard text as the search takes it: up to its first NUL, and at most
// 16 MiB.
std::string ClipboardText(std::string_view raw);

// The body of _thr_load_clipboard: the clipboard's text into a new file
// "cp_" + time stamp + ".txt" in the clipboard directory (never over an
// existing one), then the automatic start onto it. 0 when the file was written
// and handed on, -1 when there was no text or the file couldn't be written.
int LoadClipboard(LorvaneWindow& window, SearchContext& context);

}  // namespace lorvane
