#include "common/staged_files.h"

#include <string_view>
#include <vector>

#include "common/directory_listing.h"
#include "common/file_moves.h"
#include "common/path_util.h"

namespace suite {
namespace {

constexpr std::string_view kStagedSuffix = ".next";

// The names in `directory` that end in the staged suffix, without it.
std::vector<std::string> StagedNames(const std::string& directory) {
  std::vector<std::string> names;
  for (const DirectoryEntry& entry : ListDirectory(directory)) {
    const std::string_view name(entry.name);
    if (name.size() > kStagedSuffix.size() && name.ends_with(kStagedSuffix)) {
      names.emplace_back(name.substr(0, name.size() - kStagedSuffix.size()));
    }
  }
  return names;
}

}  // namespace

std::string StagedPath(const std::string& path) { return path + std::string(kStagedSuffix); }

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
      settled = RenameOver(staged, prefix + name) && settled;
    } else {
      settled = RemoveFile(staged) == 0 && settled;
    }
  }
  // The marker last, and only once the others are in place on the disk:
  // until then its staged copy keeps the change decided. Its own rename needs
  // no wait: lost to a power failure, it is made again next time.
  if (decided && settled) {
    settled = SyncDirectory(directory) &&
              RenameOver(StagedPath(prefix + markerName), prefix + markerName);
  }
  return settled;
}

}  // namespace suite
