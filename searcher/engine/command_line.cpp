#include "searcher/engine/command_line.h"

#include <optional>

#include "common/path_util.h"

namespace lorvane {
namespace {

// The path resolved becomes the full path: the descriptor stores it, and a
// relative one would name another file when restored from elsewhere.
std::optional<std::string> ResolveTarget(const std::string& path, const std::string& programDirectory) {
  if (path.empty()) return std::nullopt;
  if (suite::PathExists(path)) return suite::FullPath(path);
  if (suite::PathExists(programDirectory + path)) return suite::FullPath(programDirectory + path);
  return std::nullopt;
}

}  // namespace

CommandLineRequest ParseCommandLine(const std::vector<std::string>& arguments, const std::string& programDirectory) {
  CommandLineRequest request;
  if (arguments.size() == 1) {
    const auto target = ResolveTarget(arguments[0], programDirectory);
    if (!target) return request;
    request.autoLoad = true;
    request.targetPath = *target;
    return request;
  }
  if (arguments.size() != 3) return request;
  const std::string& keyword = arguments[0];
  const std::string& flag = arguments[1];
  if (keyword.empty() || (flag != "0" && flag != "1")) return request;
  const auto target = ResolveTarget(arguments[2], programDirectory);
  if (!target) return request;
  request.autoLoad = request.autoSearch = true;
  request.targetPath = *target;
  request.keyword = keyword;
  request.matchCase = flag == "1";
  return request;
}

}  // namespace lorvane
