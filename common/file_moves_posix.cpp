#include "common/file_moves.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/path_util.h"
#include "common/unique_fd_posix.h"

namespace suite {
namespace {

bool SameFile(const struct stat& left, const struct stat& right) {
  return left.st_dev == right.st_dev && left.st_ino == right.st_ino;
}

bool SameEntry(const std::string& left, const std::string& right) {
  struct stat leftStatus;
  struct stat rightStatus;
  return ::lstat(left.c_str(), &leftStatus) == 0 && ::lstat(right.c_str(), &rightStatus) == 0 &&
         SameFile(leftStatus, rightStatus);
}

// A name beside `to` that no one else makes: the process and a count.
std::string AsideName(const std::string& to) {
  static std::atomic<unsigned long> count{0};
  const size_t slash = to.rfind(kPathSeparator);
  const std::string directory = slash == std::string::npos ? std::string() : to.substr(0, slash + 1);
  return directory + ".tuckaway-aside-" + std::to_string(::getpid()) + "-" + std::to_string(++count);
}

}  // namespace

bool MoveFileNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  // EINVAL: the file system doesn't know the flag; ENOSYS: the kernel lacks the call.
  if (errno == EINVAL || errno == ENOSYS) return MoveFileByLink(from, to);
  return false;
}

bool MoveFileByLink(const std::string& from, const std::string& to) {
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  // Unlinking `from` would remove whatever bears the name by then. A rename
  // takes exactly what bears it, and what it took is looked at afterwards.
  const std::string aside = AsideName(to);
  if (::rename(from.c_str(), aside.c_str()) != 0) {
    // The old name can't go: take the new one back, so the file stays where
    // it was; unless the old name is no longer the file's, which then lives
    // on under the new one alone.
    if (!SameEntry(from, to)) return true;
    ::unlink(to.c_str());
    return false;
  }
  if (SameEntry(aside, to)) {
    ::unlink(aside.c_str());  // the file keeps its new name
    return true;
  }
  // Another file had taken the old name: it goes back there (unless yet
  // another came meanwhile; then it stays aside, still whole). Ours has moved.
  if (::link(aside.c_str(), from.c_str()) == 0) ::unlink(aside.c_str());
  return true;
}

LockedMove MoveFileUnlessLocked(const std::string& from, const std::string& to) {
  // O_NONBLOCK: should a pipe have taken the name, the open doesn't wait for a writer.
  const UniqueFd file(::open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!file.Valid()) return LockedMove::kFailed;
  if (::flock(file.Get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) return LockedMove::kLocked;
    // A file system without these locks: no program of the suite can hold a
    // file there either (its open fails), so nothing is held.
  }
  // The name must still be the file locked here, else another file took its
  // place since it was opened and is left alone.
  struct stat locked;
  struct stat named;
  if (::fstat(file.Get(), &locked) != 0 || ::lstat(from.c_str(), &named) != 0 || !SameFile(locked, named)) {
    return LockedMove::kFailed;
  }
  return MoveFileNoReplace(from, to) ? LockedMove::kMoved : LockedMove::kFailed;
}

bool RenameOver(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()) == 0; }

int RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0 ? 0 : errno; }

}  // namespace suite
