#include "common/path_util.h"

namespace suite {

std::string GetModuleDirectory() { return FindModuleDirectory().value_or(kPathSeparatorText); }

bool IsAbsolutePath(const std::string& path) {
#ifdef _WIN32
  if (path.size() >= 3 && path[1] == ':' && IsPathSeparator(path[2])) {
    const char drive = path[0];
    return (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
  }
  return path.size() >= 3 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]) && !IsPathSeparator(path[2]);
#else
  return !path.empty() && path.front() == kPathSeparator;
#endif
}

size_t LastSeparator(const std::string& path) {
#ifdef _WIN32
  return path.find_last_of("/\\");
#else
  return path.rfind(kPathSeparator);
#endif
}

std::string WithSeparator(std::string directory) {
  if (directory.empty() || !IsPathSeparator(directory.back())) directory += kPathSeparator;
  return directory;
}

std::string DirectoryOfPath(const std::string& path) {
  const size_t last = LastSeparator(path);
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string FullPath(const std::string& path) {
  if (path.empty() || IsAbsolutePath(path)) return path;
  const size_t last = LastSeparator(path);
  std::string name = last == std::string::npos ? path : path.substr(last + 1);
  std::string directory = last == std::string::npos ? std::string(".") : path.substr(0, last + 1);
  if (name.empty() || name == "." || name == "..") {  // a directory itself: resolve it whole
    directory = path;
    name.clear();
  }
  std::string full = ResolvedPath(directory);
  if (full.empty()) return path;
  if (name.empty()) return full;
  if (!IsPathSeparator(full.back())) full += kPathSeparator;
  return full + name;
}

}  // namespace suite
