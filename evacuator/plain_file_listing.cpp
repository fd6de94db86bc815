#include "evacuator/plain_file_listing.h"

#include "common/directory_listing.h"
#include "common/path_util.h"

namespace tuckaway {

std::vector<std::string> ListPlainFiles(const std::string& directory) {
  std::vector<std::string> names;
  for (suite::DirectoryEntry& entry : suite::ListDirectory(directory)) {
    if (entry.name.empty() || entry.kind == suite::EntryKind::kDirectory) continue;
    // A link counts as what it points to.
    if (entry.kind == suite::EntryKind::kLink && suite::IsDirectory(suite::WithSeparator(directory) + entry.name)) {
      continue;
    }
    names.push_back(std::move(entry.name));
  }
  return names;
}

}  // namespace tuckaway
