#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/output_file.h"

namespace suite {

int OutputFile::OpenDescriptor(const std::string& path, int flags) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | flags, 0600);
  // What the suite writes comes from the user's logs: readable by the user
  // alone, also when an older file of the name was readable by others.
  if (fd >= 0 && (flags & O_TRUNC)) ::fchmod(fd, 0600);
  return fd;
}

std::ptrdiff_t OutputFile::WriteSome(int fd, const char* bytes, size_t length) { return ::write(fd, bytes, length); }

bool OutputFile::SyncDescriptor(int fd) { return ::fdatasync(fd) == 0; }

bool OutputFile::CutDescriptor(int fd, int64_t size) { return ::ftruncate(fd, size) == 0; }

bool OutputFile::CloseDescriptor(int fd) { return ::close(fd) == 0 || errno == EINTR; }

}  // namespace suite
