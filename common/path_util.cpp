#include "common/path_util.h"

namespace suite {

std::string GetModuleDirectory() { return FindModuleDirectory().value_or(kPathSeparatorText); }

std::string WithSeparator(std::string directory) {
  if (directory.empty() || directory.back() != kPathSeparator) directory += kPathSeparator;
  return directory;
}

std::string DirectoryOfPath(const std::string& path) {
  const size_t last = path.rfind(kPathSeparator);
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string FullPath(const std::string& path) {
  if (path.empty() || path.front() == kPathSeparator) return path;
  const size_t last = path.rfind(kPathSeparator);
  std::string name = last == std::string::npos ? path : path.substr(last + 1);
  std::string directory = last == std::string::npos ? std::string(".") : path.substr(0, last + 1);
  if (name.empty() || name == "." || name == "..") {  // a directory itself: resolve it whole
    directory = path;
    name.clear();
  }
  std::string full = ResolvedPath(directory);
  if (full.empty()) return path;
  if (name.empty()) return full;
  if (full.back() != kPathSeparator) full += kPathSeparator;
  return full + name;
}

}  // namespace suite
