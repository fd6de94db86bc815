#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "common/standard_output.h"

namespace suite {

void KeepStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free number is `fd` itself, as the lower ones are open.
    const int opened = ::open("/dev/null", fd == 0 ? O_WRONLY : O_RDONLY);
    if (opened != fd && opened != -1) ::close(opened);
  }
}

}  // namespace suite
