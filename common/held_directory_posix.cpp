#include "common/held_directory.h"

#include "common/path_util.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace suite {

bool HeldDirectory::Hold(const std::string& path) {
  Release();
  heldElsewhere_ = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  handle_ = fd;
  path_ = path;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
  heldElsewhere_ = errno == EWOULDBLOCK;
  Release();
  return false;
}

void HeldDirectory::Release() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  handle_ = -1;
}

// A lock doesn't keep a directory from being removed: the name goes as any.
int HeldDirectory::RemoveIfEmpty() {
  if (handle_ < 0) return EBADF;
  const int error = RemoveEmptyDirectory(path_);
  if (error == 0) Release();
  return error;
}

bool DirectoryIsHeld(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}

}  // namespace suite
