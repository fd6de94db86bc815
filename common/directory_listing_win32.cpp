#include <windows.h>

#include <string_view>

#include "common/directory_listing.h"
#include "common/lock_mark_win32.h"
#include "common/open_directory.h"
#include "common/wide_text_win32.h"

namespace suite {
namespace {

EntryKind KindOfAttributes(DWORD attributes) {
  // A symbolic link or junction is a reparse point, whatever it points to.
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return EntryKind::kLink;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return EntryKind::kDirectory;
  if (attributes & FILE_ATTRIBUTE_DEVICE) return EntryKind::kOther;
  return EntryKind::kFile;
}

bool IsDotOrDotDot(std::wstring_view name) { return name == L"." || name == L".."; }

HANDLE HandleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Calls `take` with each entry of the directory at `wide` (a path without a
// pattern); false when it can't be read.
template <typename Take>
bool EachEntry(const std::wstring& wide, Take take) {
  std::wstring pattern = wide;
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    if (!IsDotOrDotDot(found.cFileName)) take(found);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return true;
}

// The path of the directory open as `handle`, as the file system has it now.
std::wstring PathOfHandle(HANDLE handle) {
  std::wstring buffer(1024, L'\0');
  for (;;) {
    const DWORD length = ::GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                     FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return std::wstring();
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(length + 1);
  }
}

}  // namespace

std::vector<DirectoryEntry> ListDirectory(const std::string& directory) {
  std::vector<DirectoryEntry> entries;
  if (directory.empty()) return entries;  // not the current directory
  EachEntry(win32::Wide(directory), [&entries](const WIN32_FIND_DATAW& found) {
    entries.push_back(DirectoryEntry{win32::Narrow(found.cFileName), KindOfAttributes(found.dwFileAttributes)});
  });
  return entries;
}

bool EntryKindOf(const std::string& path, EntryKind* kind) {
  const DWORD attributes = ::GetFileAttributesW(win32::Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  *kind = KindOfAttributes(attributes);
  return true;
}

OpenDirectory::~OpenDirectory() {
  if (handle_ != -1) ::CloseHandle(HandleOf(handle_));
}

int OpenDirectory::Open(const std::string& path) {
  if (handle_ != -1) ::CloseHandle(HandleOf(handle_));
  handle_ = -1;
  HANDLE handle = ::CreateFileW(win32::Wide(path).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return win32::LastErrno();
  BY_HANDLE_FILE_INFORMATION information;
  if (!::GetFileInformationByHandle(handle, &information) ||
      !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    ::CloseHandle(handle);
    return ENOTDIR;  // a link in the directory's place is refused
  }
  handle_ = reinterpret_cast<std::intptr_t>(handle);
  return 0;
}

int OpenDirectory::Names(std::vector<std::string>* names) const {
  const std::wstring path = PathOfHandle(HandleOf(handle_));
  if (path.empty()) return win32::LastErrno();
  const bool read = EachEntry(path, [names](const WIN32_FIND_DATAW& found) {
    names->push_back(win32::Narrow(found.cFileName));
  });
  return read ? 0 : win32::LastErrno();
}

int OpenDirectory::KindOf(const std::string& name, EntryKind* kind) const {
  const std::wstring path = PathOfHandle(HandleOf(handle_));
  if (path.empty()) return win32::LastErrno();
  const DWORD attributes = ::GetFileAttributesW((path + L'\\' + win32::Wide(name)).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return win32::LastErrno();
  *kind = KindOfAttributes(attributes);
  return 0;
}

int OpenDirectory::RemoveFileUnlessLocked(const std::string& name) const {
  const std::wstring directory = PathOfHandle(HandleOf(handle_));
  if (directory.empty()) return win32::LastErrno();
  // Deleted through the handle that holds its lock mark: the file found
  // unlocked is the one that goes.
  win32::UniqueHandle file(::CreateFileW((directory + L'\\' + win32::Wide(name)).c_str(), GENERIC_READ | DELETE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.Valid()) return win32::LastErrno();
  if (!win32::LockMark(file.Get()) && win32::HeldByLock(::GetLastError())) return EWOULDBLOCK;
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  if (!::SetFileInformationByHandle(file.Get(), FileDispositionInfo, &disposition, sizeof disposition)) {
    return win32::LastErrno();
  }
  return 0;
}

}  // namespace suite
