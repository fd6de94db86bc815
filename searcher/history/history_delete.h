// Deleting a history directory.
#pragma once

#include <functional>
#include <string>

namespace lorvane {

enum class HistoryRemoval {
  kRemovedEmpty,  // the directory was empty and is gone
  kRemoved,       // its files were deleted, then the directory
  kFailed,        // something stays; the messages said what
};

// Removes a history directory with its own plain files, and never anything
// else: a subdirectory is never entered, a symbolic link never followed, and
// an entry that isn't a plain file stays. A file that another program holds
// locked stays as well, as it would while open elsewhere. Each
// message goes to `post`: the empty directory's removal, every entry that
// stays with its error code, and a directory that can't be removed.
HistoryRemoval RemoveHistoryDirectory(const std::string& directory,
                                      const std::function<void(const std::string&)>& post);

}  // namespace lorvane
