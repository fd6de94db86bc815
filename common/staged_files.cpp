#include "common/staged_files.h"

#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "common/path_util.h"

namespace suite {
namespace {

constexpr std::string_view kStagedSuffix = ".next";

// The names in `directory` that end in the staged suffix, without it.
std::vector<std::string> StagedNames(const std::string& directory) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(directory.c_str());
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name(entry->d_name);
    if (name.size() > kStagedSuffix.size() && name.ends_with(kStagedSuffix)) {
      names.emplace_back(name.substr(0, name.size() - kStagedSuffix.size()));
    }
  }
  ::closedir(dir);
  return names;
}

}  // namespace

std::string StagedPath(const std::string& path) { return path + std::string(kStagedSuffix); }

bool SyncFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fdatasync(fd) == 0;
  ::close(fd);
  return synced;
}

bool SyncDirectory(const std::string& directory) {
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

bool SettleStagedFiles(const std::string& directory, const std::string& markerName) {
  const std::vector<std::string> names = StagedNames(directory);
  if (names.empty()) return true;
  const std::string prefix = directory + kPathSeparator;
  bool decided = false;
  for (const std::string& name : names) decided = decided || name == markerName;
  // The staged files, the marker's among them, are on the disk before any
  // of them replaces an old one: a power failure then finds the change decided.
  bool settled = !decided || SyncDirectory(directory);
  for (const std::string& name : names) {
    if (!settled) break;
    if (name == markerName) continue;
    const std::string staged = StagedPath(prefix + name);
    if (decided) {
      settled = ::rename(staged.c_str(), (prefix + name).c_str()) == 0 && settled;
    } else {
      settled = ::unlink(staged.c_str()) == 0 && settled;
    }
  }
  // The marker last, and only once the others are in place on the disk:
  // until then its staged copy keeps the change decided. Its own rename needs
  // no wait: lost to a power failure, it is made again next time.
  if (decided && settled) {
    settled = SyncDirectory(directory) &&
              ::rename(StagedPath(prefix + markerName).c_str(), (prefix + markerName).c_str()) == 0;
  }
  return settled;
}

}  // namespace suite
