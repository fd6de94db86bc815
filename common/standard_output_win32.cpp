#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "common/standard_output.h"

namespace suite {

void KeepStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::_get_osfhandle(fd) != -1) continue;
    // NUL, opened the wrong way round, as /dev/null is on POSIX systems.
    const int opened = ::_open("NUL", fd == 0 ? _O_WRONLY : _O_RDONLY);
    if (opened != fd && opened != -1) {
      ::_dup2(opened, fd);
      ::_close(opened);
    }
  }
  // Lines go out as they are: text mode would turn every LF into CR LF and
  // stop reading at 0x1A.
  ::_setmode(::_fileno(stdin), _O_BINARY);
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
}

}  // namespace suite
