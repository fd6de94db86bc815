#include "common/instance_claim.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace suite {
namespace {

// The user's runtime folder (private to the user, emptied at logout), else
// the temporary folder, where the instances' socket lies too.
std::string ClaimFolder() {
  for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
    const char* folder = std::getenv(name);
    if (folder && folder[0] == '/') return folder;
  }
  return "/tmp";
}

constexpr int kAttempts = 5;

}  // namespace

InstanceClaim::InstanceClaim(const std::string& name) {
  const std::string path = ClaimFolder() + "/" + name + ".lock";
  // A holder removes the file as it lets go: the lock taken must be on the
  // file the name still gives, or a later start could take another one.
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    // Never follows a link, never truncates: the file only carries the lock.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0) return;  // counts as held
    int result;
    do {
      result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
      const int error = errno;
      ::close(fd);
      held_ = error != EWOULDBLOCK;  // any other failure counts as held
      return;
    }
    struct stat locked, named;
    if (::fstat(fd, &locked) == 0 && ::stat(path.c_str(), &named) == 0 && locked.st_dev == named.st_dev &&
        locked.st_ino == named.st_ino) {
      handle_ = fd;
      path_ = path;
      return;
    }
    ::close(fd);
  }
}

InstanceClaim::~InstanceClaim() {
  if (handle_ < 0) return;
  ::unlink(path_.c_str());  // still locked: nobody takes the name in between
  ::close(static_cast<int>(handle_));
}

}  // namespace suite
