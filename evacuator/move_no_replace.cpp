#include "evacuator/move_no_replace.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/path_util.h"

namespace tuckaway {
namespace {

bool SameEntry(const std::string& left, const std::string& right) {
  struct stat leftStatus;
  struct stat rightStatus;
  return ::lstat(left.c_str(), &leftStatus) == 0 && ::lstat(right.c_str(), &rightStatus) == 0 &&
         leftStatus.st_dev == rightStatus.st_dev && leftStatus.st_ino == rightStatus.st_ino;
}

// A name beside `to` that no one else makes: the process and a count.
std::string AsideName(const std::string& to) {
  static std::atomic<unsigned long> count{0};
  const size_t slash = to.rfind(suite::kPathSeparator);
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

}  // namespace tuckaway
