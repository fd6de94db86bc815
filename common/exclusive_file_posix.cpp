#include "common/exclusive_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace suite {

ExclusiveFile::~ExclusiveFile() { Close(); }

bool ExclusiveFile::Open(const std::string& path) { return OpenRegular(path, true); }

bool ExclusiveFile::OpenShared(const std::string& path) { return OpenRegular(path, false); }

bool ExclusiveFile::OpenRegular(const std::string& path, bool lock) {
  Close();
  openError_ = OpenError::None;
  // O_NONBLOCK keeps a FIFO from blocking the open; it is refused just below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    openError_ = (errno == ENOENT || errno == ENOTDIR) ? OpenError::Missing
                 : (errno == EACCES || errno == EPERM) ? OpenError::Denied
                                                       : OpenError::Other;
    return false;
  }
  struct stat status;
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    openError_ = OpenError::NotRegular;
    ::close(fd);
    return false;
  }
  if (lock && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    openError_ = OpenError::Locked;
    ::close(fd);
    return false;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  // (no fadvise: it measured slower from the page cache)
  fd_ = fd;
  return true;
}

void ExclusiveFile::Close() {
  if (fd_ >= 0) {
    ::close(fd_);  // closing the descriptor releases the lock
    fd_ = -1;
  }
}

int64_t ExclusiveFile::Size() const {
  struct stat status;
  if (fd_ < 0 || ::fstat(fd_, &status) != 0) return 0;
  return static_cast<int64_t>(status.st_size);
}

ExclusiveFile::Identity ExclusiveFile::FileIdentity() const {
  struct stat status;
  if (fd_ < 0 || ::fstat(fd_, &status) != 0) return {};
  return {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
}

bool ExclusiveFile::Deleted() const {
  struct stat status;
  return fd_ >= 0 && ::fstat(fd_, &status) == 0 && status.st_nlink == 0;
}

std::ptrdiff_t ExclusiveFile::Read(char* buffer, size_t length) {
  for (;;) {
    const ssize_t got = ::read(fd_, buffer, length);
    if (got >= 0 || errno != EINTR) return got;
  }
}

size_t ExclusiveFile::ReadAt(char* buffer, size_t length, int64_t offset, int* error) const {
  size_t got = 0;
  if (error) *error = fd_ < 0 || offset < 0 ? EBADF : 0;
  while (fd_ >= 0 && offset >= 0 && got < length) {
    const ssize_t read = ::pread(fd_, buffer + got, length - got, static_cast<off_t>(offset) + static_cast<off_t>(got));
    if (read < 0 && errno == EINTR) continue;
    if (read < 0 && error) *error = errno;
    if (read <= 0) break;
    got += static_cast<size_t>(read);
  }
  return got;
}

void ExclusiveFile::WillRead(int64_t offset, int64_t length) const {
  if (fd_ >= 0 && offset >= 0 && length > 0) ::posix_fadvise(fd_, offset, length, POSIX_FADV_WILLNEED);
}

bool ExclusiveFile::Seek(int64_t offset) {
  return fd_ >= 0 && offset >= 0 && ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) == offset;
}

}  // namespace suite
