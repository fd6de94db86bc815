#include "searcher/history/history_delete.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "common/held_directory.h"
#include "searcher/history/history_texts.h"
#include "searcher/history/unique_fd.h"

namespace lorvane {
namespace {

// The names in a directory, "." and ".." left out; false when it can't be read.
bool EntryNames(int directoryFd, std::vector<std::string>* names) {
  // fdopendir takes the descriptor over, so it gets its own.
  const int own = ::dup(directoryFd);
  if (own < 0) return false;
  DIR* dir = ::fdopendir(own);
  if (!dir) {
    ::close(own);
    return false;
  }
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name(entry->d_name);
    if (name != "." && name != "..") names->emplace_back(name);
  }
  ::closedir(dir);
  return true;
}

// Deletes one plain file of the directory; 0, or the error code. A file that
// is locked elsewhere is left alone.
int DeletePlainFile(int directoryFd, const std::string& name) {
  const UniqueFd file(::openat(directoryFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.Valid() && ::flock(file.Get(), LOCK_EX | LOCK_NB) != 0) return errno;
  // Deleted while this holds the lock, so nobody takes it in between.
  return ::unlinkat(directoryFd, name.c_str(), 0) == 0 ? 0 : errno;
}

}  // namespace

HistoryRemoval RemoveHistoryDirectory(const std::string& directory,
                                      const std::function<void(const std::string&)>& post) {
  // A running search holds its directory; this holds it in turn while it
  // deletes, so a search can't be holding it half deleted.
  suite::HeldDirectory held;
  if (!held.Hold(directory) && held.HeldElsewhere()) {
    post(SearchRunningText(directory));
    return HistoryRemoval::kFailed;
  }
  if (::rmdir(directory.c_str()) == 0) {
    post(EmptyDirectoryRemovedText(directory));
    return HistoryRemoval::kRemovedEmpty;
  }
  // A symbolic link gives ENOTDIR here and is never followed.
  const int removeError = errno;
  if (removeError != ENOTEMPTY && removeError != EEXIST) {
    post(DirectoryRemoveFailedText(removeError, directory));
    return HistoryRemoval::kFailed;
  }

  // O_NOFOLLOW: should the directory have been swapped for a link meanwhile,
  // nothing it points to is touched.
  const UniqueFd dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  std::vector<std::string> names;
  if (!dir.Valid() || !EntryNames(dir.Get(), &names)) {
    post(DirectoryRemoveFailedText(errno, directory));
    return HistoryRemoval::kFailed;
  }
  bool failed = false;
  for (const std::string& name : names) {
    struct stat status;
    if (::fstatat(dir.Get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno == ENOENT) continue;  // gone meanwhile
      post(FileDeleteFailedText(errno));
      failed = true;
    } else if (S_ISDIR(status.st_mode)) {
      post(SubdirectoryLeftText());
      failed = true;
    } else if (!S_ISREG(status.st_mode)) {
      // Links, pipes, sockets and devices are not the search's files.
      post(FileDeleteFailedText(EPERM));
      failed = true;
    } else if (const int error = DeletePlainFile(dir.Get(), name); error != 0) {
      post(FileDeleteFailedText(error));
      failed = true;
    }
  }
  if (failed) return HistoryRemoval::kFailed;
  if (::rmdir(directory.c_str()) != 0) {
    post(DirectoryRemoveFailedText(errno, directory));
    return HistoryRemoval::kFailed;
  }
  return HistoryRemoval::kRemoved;
}

}  // namespace lorvane
