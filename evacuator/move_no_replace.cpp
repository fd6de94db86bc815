#include "evacuator/move_no_replace.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace tuckaway {

bool MoveFileNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  // EINVAL: the file system doesn't know the flag; ENOSYS: the kernel lacks the call.
  if (errno == EINVAL || errno == ENOSYS) return MoveFileByLink(from, to);
  return false;
}

bool MoveFileByLink(const std::string& from, const std::string& to) {
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  if (::unlink(from.c_str()) == 0) return true;
  // The old name can't go: take the new one back, so the file stays where it was.
  ::unlink(to.c_str());
  return false;
}

}  // namespace tuckaway
