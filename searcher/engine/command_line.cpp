#include "searcher/engine/command_line.h"

#include "common/path_util.h"

namespace lorvane {

CommandLineRequest ParseCommandLine(const std::vector<std::string>& arguments, const std::string& programDirectory) {
  CommandLineRequest request;
  if (arguments.size() != 3) return request;
  const std::string& keyword = arguments[0];
  const std::string& flag = arguments[1];
  const std::string& path = arguments[2];
  if (keyword.empty() || (flag != "0" && flag != "1") || path.empty()) return request;
  // The path resolved becomes the full path: the descriptor stores it, and a
  // relative one would name another file when restored from elsewhere.
  if (suite::PathExists(path)) {
    request.targetPath = suite::FullPath(path);
  } else if (suite::PathExists(programDirectory + path)) {
    request.targetPath = suite::FullPath(programDirectory + path);
  } else {
    return request;
  }
  request.autoLoad = request.autoSearch = true;
  request.keyword = keyword;
  request.matchCase = flag == "1";
  return request;
}

}  // namespace lorvane
