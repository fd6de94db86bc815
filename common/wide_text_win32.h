// Windows only: UTF-8 paths as the UTF-16 every Win32 call takes, and Win32
// error codes as the errno values that cross the platform layer.
#pragma once

#include <windows.h>

#include <cerrno>
#include <string>
#include <string_view>

namespace suite::win32 {

// UTF-8 -> UTF-16; bytes that aren't UTF-8 become U+FFFD, so such a name is
// never found rather than another one.
inline std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return std::wstring();
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

// UTF-16 -> UTF-8.
inline std::string Narrow(std::wstring_view wide) {
  if (wide.empty()) return std::string();
  const int length =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr, nullptr);
  return utf8;
}

// The errno value the POSIX files would give for the same failure.
inline int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_SUCCESS: return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return EWOULDBLOCK;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_DIR_NOT_EMPTY: return ENOTEMPTY;
    case ERROR_DIRECTORY: return ENOTDIR;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_NOT_SAME_DEVICE: return EXDEV;
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA: return EPIPE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return ENOMEM;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_USER_MAPPED_FILE: return EBUSY;
    default: return EIO;
  }
}

inline int LastErrno() { return ErrnoOf(::GetLastError()); }

// LastErrno after a call on `path`: Windows tells a name longer than a
// folder holds (255 UTF-16 units) only as a bad path, POSIX systems as ENAMETOOLONG.
inline int LastErrnoOfPath(const std::string& path) {
  const int error = LastErrno();
  const size_t slash = path.find_last_of("/\\");
  return Wide(slash == std::string::npos ? path : path.substr(slash + 1)).size() > 255 ? ENAMETOOLONG : error;
}

// A handle closed when it goes.
class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~UniqueHandle() {
    if (Valid()) ::CloseHandle(handle_);
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace suite::win32
