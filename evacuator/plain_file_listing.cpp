#include "evacuator/plain_file_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace tuckaway {
namespace {

bool IsDirectoryEntry(DIR* dir, const dirent& entry) {
  if (entry.d_type == DT_DIR) return true;
  if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
  struct stat status;
  return ::fstatat(::dirfd(dir), entry.d_name, &status, 0) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

std::vector<std::string> ListPlainFiles(const std::string& directory) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(directory.c_str());
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.empty() || name == "." || name == "..") continue;
    if (IsDirectoryEntry(dir, *entry)) continue;
    names.push_back(name);
  }
  ::closedir(dir);
  return names;
}

}  // namespace tuckaway
