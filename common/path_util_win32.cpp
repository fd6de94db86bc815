#include <windows.h>

#include <vector>

#include "common/path_util.h"
#include "common/wide_text_win32.h"

namespace suite {
namespace {

DWORD AttributesOf(const std::string& path) {
  return path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(win32::Wide(path).c_str());
}

// A path Windows gives, as the suite writes paths: "\\?\C:\..." and
// "\\?\UNC\server\..." as a user writes them, with the suite's separator.
std::string AsSuitePath(std::wstring path) {
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) {
    path.erase(0, 8);
    path.insert(0, L"\\\\");
  } else if (path.rfind(L"\\\\?\\", 0) == 0) {
    path.erase(0, 4);
  }
  std::string text = win32::Narrow(path);
  for (char& c : text) {
    if (c == '\\') c = kPathSeparator;
  }
  return text;
}

}  // namespace

bool PathExists(const std::string& path) { return AttributesOf(path) != INVALID_FILE_ATTRIBUTES; }

std::optional<std::string> FindModuleDirectory() {
  // A full buffer means the name was cut: try a larger one.
  for (DWORD size = 512; size <= 32768 * 2; size *= 4) {
    std::wstring buffer(size, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), size);
    if (length == 0) return std::nullopt;
    if (length >= size) continue;
    buffer.resize(length);
    std::string directory = DirectoryOfPath(AsSuitePath(buffer));
    if (directory.empty() || !IsAbsolutePath(directory)) return std::nullopt;
    return directory;
  }
  return std::nullopt;
}

bool IsDirectory(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The read-only attribute of a folder doesn't keep files out of it: only
// making one tells.
bool IsWritableDirectory(const std::string& path) {
  if (!IsDirectory(path)) return false;
  std::wstring probe = win32::Wide(WithSeparator(path) + ".suite-write-probe-");
  probe += std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetCurrentThreadId());
  HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_EXISTS;
  ::CloseHandle(file);
  return true;
}

std::string ResolvedPath(const std::string& path) {
  if (path.empty()) return std::string();
  // The entry itself, links followed: its final path, as the file system has it.
  win32::UniqueHandle entry(::CreateFileW(win32::Wide(path).c_str(), FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!entry.Valid()) return std::string();
  std::wstring buffer(1024, L'\0');
  for (;;) {
    const DWORD length = ::GetFinalPathNameByHandleW(entry.Get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                                     FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return std::string();
    if (length < buffer.size()) {
      buffer.resize(length);
      return AsSuitePath(buffer);
    }
    buffer.resize(length + 1);
  }
}

std::string CurrentDirectory() {
  const DWORD size = ::GetCurrentDirectoryW(0, nullptr);
  if (size == 0) return std::string();
  std::wstring buffer(size, L'\0');
  const DWORD length = ::GetCurrentDirectoryW(size, buffer.data());
  if (length == 0 || length >= size) return std::string();
  buffer.resize(length);
  return AsSuitePath(buffer);
}

// The access of a folder on Windows comes from its parent's; the user's own
// folders already keep others out.
bool MakeDirectory(const std::string& path, bool* existed, DirectoryAccess) {
  if (existed) *existed = false;
  if (::CreateDirectoryW(win32::Wide(path).c_str(), nullptr)) return true;
  if (existed && ::GetLastError() == ERROR_ALREADY_EXISTS) *existed = true;
  return false;
}

int RemoveEmptyDirectory(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return ENOTDIR;
  return ::RemoveDirectoryW(win32::Wide(path).c_str()) ? 0 : win32::LastErrno();
}

int CreateEmptyFile(const std::string& path) {
  HANDLE file = ::CreateFileW(win32::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return win32::LastErrnoOfPath(path);
  ::CloseHandle(file);
  return 0;
}

}  // namespace suite
