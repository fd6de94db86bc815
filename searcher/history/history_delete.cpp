#include "searcher/history/history_delete.h"

#include <cerrno>
#include <vector>

#include "common/held_directory.h"
#include "common/open_directory.h"
#include "common/path_util.h"
#include "searcher/history/history_texts.h"

namespace lorvane {

HistoryRemoval RemoveHistoryDirectory(const std::string& directory,
                                      const std::function<void(const std::string&)>& post) {
  // A running search holds its directory; this holds it in turn while it
  // deletes, so a search can't be holding it half deleted.
  suite::HeldDirectory held;
  if (!held.Hold(directory) && held.HeldElsewhere()) {
    post(SearchRunningText(directory));
    return HistoryRemoval::kFailed;
  }
  // Through the hold where there is one: on Windows nothing else may remove it.
  const auto removeEmpty = [&] { return held.Holds() ? held.RemoveIfEmpty() : suite::RemoveEmptyDirectory(directory); };
  // A symbolic link gives ENOTDIR here and is never followed.
  const int removeError = removeEmpty();
  if (removeError == 0) {
    post(EmptyDirectoryRemovedText(directory));
    return HistoryRemoval::kRemovedEmpty;
  }
  if (removeError != ENOTEMPTY && removeError != EEXIST) {
    post(DirectoryRemoveFailedText(removeError, directory));
    return HistoryRemoval::kFailed;
  }

  // Should the directory have been swapped for a link meanwhile, nothing it
  // points to is touched: its entries are reached through the one opened.
  suite::OpenDirectory dir;
  std::vector<std::string> names;
  int openError = dir.Open(directory);
  if (openError == 0) openError = dir.Names(&names);
  if (openError != 0) {
    post(DirectoryRemoveFailedText(openError, directory));
    return HistoryRemoval::kFailed;
  }
  bool failed = false;
  for (const std::string& name : names) {
    suite::EntryKind kind;
    if (const int error = dir.KindOf(name, &kind); error != 0) {
      if (error == ENOENT) continue;  // gone meanwhile
      post(FileDeleteFailedText(error));
      failed = true;
    } else if (kind == suite::EntryKind::kDirectory) {
      post(SubdirectoryLeftText());
      failed = true;
    } else if (kind != suite::EntryKind::kFile) {
      // Links, pipes, sockets and devices are not the search's files.
      post(FileDeleteFailedText(EPERM));
      failed = true;
    } else if (const int error = dir.RemoveFileUnlessLocked(name); error != 0) {
      post(FileDeleteFailedText(error));
      failed = true;
    }
  }
  if (failed) return HistoryRemoval::kFailed;
  if (const int error = removeEmpty(); error != 0) {
    post(DirectoryRemoveFailedText(error, directory));
    return HistoryRemoval::kFailed;
  }
  return HistoryRemoval::kRemoved;
}

}  // namespace lorvane
