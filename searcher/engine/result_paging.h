// One result file at a time in the result list; a result line to the clipboard
// and its virtual page.
#pragma once

#include <cstdint>
#include <string>

namespace lorvane {

class LorvaneWindow;
struct SearchContext;

// A result file chosen in the result-file list: its records into the result list.
void SelectResultFile(LorvaneWindow& window, SearchContext& context);

// A result line chosen: its text to the clipboard, its line number as the
// centre line, and the virtual-page worker started.
void SelectResultLine(LorvaneWindow& window, SearchContext& context);

// F3: the text parts of the page in the text window.
void ReadResultPage(LorvaneWindow& window);

// The line number of a record "%010d|%010d| text": the whole ten-digit field.
int64_t RecordLineNumber(const std::string& record);

// The text of a record, from its 24th character on.
std::string RecordText(const std::string& record);

}  // namespace lorvane
