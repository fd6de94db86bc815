// The automatic start onto a file and keyword.
#pragma once

#include <string>

namespace lorvane {

class LorvaneWindow;

// AutoLoad's steps 1 to 5: announces the file, keyword and match case, puts
// them into the form, selects the file-path and keyword texts, focuses the
// keyword and, when the file exists, starts the pre-read. The command line
// hands over all three; the clipboard search only the path (keyword and match
// case stay as the form has them).
void AutoLoad(LorvaneWindow& window, const std::string& path, const std::string& keyword, bool matchCase);
void AutoLoadFile(LorvaneWindow& window, const std::string& path);

}  // namespace lorvane
