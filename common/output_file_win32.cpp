#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "common/output_file.h"
#include "common/wide_text_win32.h"

namespace suite {

// Binary, so that no LF gains a CR; others may read it while it is written,
// not write it. The user's own folders keep others out of what the suite
// writes. Opened by CreateFileW, so a failure keeps the errno value the
// POSIX systems give (a name too long is ENAMETOOLONG, not ENOENT as the CRT has it).
int OutputFile::OpenDescriptor(const std::string& path, int flags) {
  const DWORD disposition = (flags & O_EXCL) ? CREATE_NEW : CREATE_ALWAYS;
  HANDLE file = ::CreateFileW(win32::Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                              disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    errno = win32::LastErrnoOfPath(path);
    return -1;
  }
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    ::CloseHandle(file);
    errno = EMFILE;
  }
  return fd;
}

std::ptrdiff_t OutputFile::WriteSome(int fd, const char* bytes, size_t length) {
  return ::_write(fd, bytes, static_cast<unsigned>(std::min<size_t>(length, INT_MAX / 2)));
}

bool OutputFile::SyncDescriptor(int fd) { return ::_commit(fd) == 0; }

// A file mapped by this process or another can't be cut (ERROR_USER_MAPPED_FILE).
bool OutputFile::CutDescriptor(int fd, int64_t size) { return ::_chsize_s(fd, size) == 0; }

bool OutputFile::CloseDescriptor(int fd) { return ::_close(fd) == 0; }

}  // namespace suite
