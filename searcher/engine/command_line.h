// The searcher's command line: keyword, "0" or "1" for match case, target file.
#pragma once

#include <string>
#include <vector>

namespace lorvane {

// What a qualifying command line asks for: pre-read the file, then search it.
struct CommandLineRequest {
  bool autoLoad = false;  // the two marks are always set together
  bool autoSearch = false;
  std::string keyword;    // as given (locale text); the caller converts it
  std::string targetPath;
  bool matchCase = false;
};

// Exactly three arguments (after the program's name): a non-empty keyword,
// "0" or "1", and a non-empty path that exists as given or, when it doesn't,
// beside the program (`programDirectory` ends in the separator). Anything else
// gives a request without marks: it is ignored.
CommandLineRequest ParseCommandLine(const std::vector<std::string>& arguments, const std::string& programDirectory);

}  // namespace lorvane
