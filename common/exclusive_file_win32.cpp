#include "common/exclusive_file.h"

#include <algorithm>
#include <fcntl.h>
#include <io.h>

#include "common/lock_mark_win32.h"
#include "common/wide_text_win32.h"

namespace suite {
namespace {

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

}  // namespace

ExclusiveFile::~ExclusiveFile() { Close(); }

bool ExclusiveFile::Open(const std::string& path) { return OpenRegular(path, true); }

bool ExclusiveFile::OpenShared(const std::string& path) { return OpenRegular(path, false); }

// The target stays open to every other program: the one that writes the log
// appends to it, renames or deletes it (a rotation) while it is read. What
// keeps a second program of the suite off it is the lock mark, as flock does
// on POSIX systems.
bool ExclusiveFile::OpenRegular(const std::string& path, bool lock) {
  Close();
  openError_ = OpenError::None;
  const std::wstring wide = win32::Wide(path);
  HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      openError_ = OpenError::NotRegular;
    } else {
      const int code = win32::ErrnoOf(error);
      openError_ = code == ENOENT ? OpenError::Missing
                   : code == EACCES ? OpenError::Denied
                   : error == ERROR_SHARING_VIOLATION ? OpenError::Locked
                                                      : OpenError::Other;
    }
    return false;
  }
  BY_HANDLE_FILE_INFORMATION information;
  if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &information) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    openError_ = OpenError::NotRegular;
    ::CloseHandle(file);
    return false;
  }
  if (lock && !win32::LockMark(file)) {
    openError_ = OpenError::Locked;
    ::CloseHandle(file);
    return false;
  }
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    openError_ = OpenError::Other;
    ::CloseHandle(file);
    return false;
  }
  fd_ = fd;
  return true;
}

void ExclusiveFile::Close() {
  if (fd_ >= 0) {
    ::_close(fd_);  // closes the handle, and with it the lock
    fd_ = -1;
  }
}

int64_t ExclusiveFile::Size() const {
  LARGE_INTEGER size;
  if (fd_ < 0 || !::GetFileSizeEx(HandleOf(fd_), &size)) return 0;
  return size.QuadPart;
}

ExclusiveFile::Identity ExclusiveFile::FileIdentity() const {
  BY_HANDLE_FILE_INFORMATION information;
  if (fd_ < 0 || !::GetFileInformationByHandle(HandleOf(fd_), &information)) return {};
  return {information.dwVolumeSerialNumber,
          (static_cast<uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

bool ExclusiveFile::Deleted() const {
  FILE_STANDARD_INFO information;
  return fd_ >= 0 &&
         ::GetFileInformationByHandleEx(HandleOf(fd_), FileStandardInfo, &information, sizeof information) &&
         (information.DeletePending || information.NumberOfLinks == 0);
}

std::ptrdiff_t ExclusiveFile::Read(char* buffer, size_t length) {
  if (fd_ < 0) return -1;
  DWORD got = 0;
  const DWORD asked = static_cast<DWORD>(std::min<size_t>(length, 1u << 30));
  if (!::ReadFile(HandleOf(fd_), buffer, asked, &got, nullptr)) return -1;
  return static_cast<std::ptrdiff_t>(got);
}

size_t ExclusiveFile::ReadAt(char* buffer, size_t length, int64_t offset, int* error) const {
  size_t got = 0;
  if (error) *error = fd_ < 0 || offset < 0 ? EBADF : 0;
  // A read at an offset moves the handle's position: it is put back after,
  // for Read's sake (no reader of a file reads on from its position while
  // another thread reads it at offsets).
  LARGE_INTEGER position{};
  const bool positioned = fd_ >= 0 && ::SetFilePointerEx(HandleOf(fd_), LARGE_INTEGER{}, &position, FILE_CURRENT);
  while (fd_ >= 0 && offset >= 0 && got < length) {
    OVERLAPPED at{};
    const int64_t position = offset + static_cast<int64_t>(got);
    at.Offset = static_cast<DWORD>(position);
    at.OffsetHigh = static_cast<DWORD>(position >> 32);
    DWORD read = 0;
    const DWORD asked = static_cast<DWORD>(std::min<size_t>(length - got, 1u << 30));
    if (!::ReadFile(HandleOf(fd_), buffer + got, asked, &read, &at)) {
      if (error && ::GetLastError() != ERROR_HANDLE_EOF) *error = win32::LastErrno();
      break;
    }
    if (read == 0) break;
    got += read;
  }
  if (positioned) ::SetFilePointerEx(HandleOf(fd_), position, nullptr, FILE_BEGIN);
  return got;
}

void ExclusiveFile::WillRead(int64_t, int64_t) const {}

bool ExclusiveFile::Seek(int64_t offset) {
  LARGE_INTEGER to;
  to.QuadPart = offset;
  return fd_ >= 0 && offset >= 0 && ::SetFilePointerEx(HandleOf(fd_), to, nullptr, FILE_BEGIN);
}

}  // namespace suite
