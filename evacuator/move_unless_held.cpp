#include "evacuator/move_unless_held.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "evacuator/move_no_replace.h"

namespace tuckaway {
namespace {

bool SameFile(const struct stat& left, const struct stat& right) {
  return left.st_dev == right.st_dev && left.st_ino == right.st_ino;
}

MoveOutcome MoveEntry(const std::string& from, const std::string& to) {
  return MoveFileNoReplace(from, to) ? MoveOutcome::Moved : MoveOutcome::Failed;
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);  // and with it the lock taken here
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

MoveOutcome MoveUnlessHeld(const std::string& from, const std::string& to) {
  struct stat entry;
  if (::lstat(from.c_str(), &entry) != 0 || S_ISDIR(entry.st_mode)) return MoveOutcome::Failed;
  if (S_ISLNK(entry.st_mode)) {
    struct stat pointedTo;
    if (::stat(from.c_str(), &pointedTo) == 0 && S_ISDIR(pointedTo.st_mode)) return MoveOutcome::Failed;
    return MoveEntry(from, to);
  }
  // Opening a pipe or a device could block or act on the device; only a
  // regular file can be held the way the suite holds its targets.
  if (!S_ISREG(entry.st_mode)) return MoveEntry(from, to);

  const Descriptor file(::open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.Get() < 0) return MoveOutcome::Failed;
  if (::flock(file.Get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) return MoveOutcome::Held;
    // A file system without these locks: no program of the suite can hold a
    // file there either (its open fails), so nothing is held.
  }
  // The name must still be the file locked here, else another file took its
  // place since it was opened and is left alone.
  struct stat locked;
  struct stat named;
  if (::fstat(file.Get(), &locked) != 0 || ::lstat(from.c_str(), &named) != 0 || !SameFile(locked, named)) {
    return MoveOutcome::Failed;
  }
  return MoveEntry(from, to);
}

}  // namespace tuckaway
