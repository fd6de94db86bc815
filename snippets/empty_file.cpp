#include "snippets/empty_file.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace snipkeep {

int CreateEmptyFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
  if (fd < 0) return errno;
  ::close(fd);
  return 0;
}

}  // namespace snipkeep
