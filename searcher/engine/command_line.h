// The searcher's command line: keyword, "0" or "1" for match case, target file;
// or the target file alone.
#pragma once

#include <string>
#include <vector>

namespace lorvane {

// What a qualifying command line asks for: pre-read the file and, with a
// keyword, search it.
struct CommandLineRequest {
  bool autoLoad = false;    // pre-read targetPath
  bool autoSearch = false;  // then search it for keyword (set only with autoLoad)
  std::string keyword;      // as given (locale text); the caller converts it
  std::string targetPath;
  bool matchCase = false;
};

// Three arguments (after the program's name): a non-empty keyword, "0" or "1",
// and a path; or one argument, a path alone (a file manager's "open with"). The
// path must be non-empty and exist as given or, when it doesn't, beside the
// program (`programDirectory` ends in the separator). Anything else gives a
// request without marks: it is ignored.
CommandLineRequest ParseCommandLine(const std::vector<std::string>& arguments, const std::string& programDirectory);

}  // namespace lorvane
