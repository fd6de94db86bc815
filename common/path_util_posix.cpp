#include "common/path_util.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace suite {

bool PathExists(const std::string& path) {
  struct stat status;
  return !path.empty() && ::stat(path.c_str(), &status) == 0;
}

std::optional<std::string> FindModuleDirectory() {
  // A link's target may be longer than PATH_MAX: readlink cuts it silently, so
  // a full buffer means "try a larger one".
  for (size_t size = 4096; size <= 1024 * 1024; size *= 4) {
    std::string buffer(size, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0) return std::nullopt;
    if (static_cast<size_t>(length) == buffer.size()) continue;
    buffer.resize(static_cast<size_t>(length));
    std::string directory = DirectoryOfPath(buffer);
    if (directory.empty() || directory.front() != kPathSeparator) return std::nullopt;
    return directory;
  }
  return std::nullopt;
}

bool IsDirectory(const std::string& path) {
  struct stat status;
  return !path.empty() && ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool IsWritableDirectory(const std::string& path) { return !path.empty() && ::access(path.c_str(), W_OK) == 0; }

std::string ResolvedPath(const std::string& path) {
  if (path.empty()) return std::string();
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (!resolved) return std::string();
  std::string full(resolved);
  std::free(resolved);
  return full;
}

std::string CurrentDirectory() {
  char* current = ::getcwd(nullptr, 0);
  if (!current) return std::string();
  std::string directory(current);
  std::free(current);
  return directory;
}

bool MakeDirectory(const std::string& path, bool* existed, DirectoryAccess access) {
  if (existed) *existed = false;
  if (::mkdir(path.c_str(), access == DirectoryAccess::kOwnerOnly ? 0700 : 0777) == 0) return true;
  if (existed && errno == EEXIST) *existed = true;
  return false;
}

int RemoveEmptyDirectory(const std::string& path) { return ::rmdir(path.c_str()) == 0 ? 0 : errno; }

int CreateEmptyFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
  if (fd < 0) return errno;
  ::close(fd);
  return 0;
}

}  // namespace suite
