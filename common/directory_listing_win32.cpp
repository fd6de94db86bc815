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

// Calls `take(name, attributes)` with each entry of the directory open as
// `directory` (listing access); false when it can't be read. The entries are
// read through the handle, not FindFirstFileW: that one opens the directory
// again without sharing deletion, and so fails while the directory is held
// (a running search's history holds its directory so).
template <typename Take>
bool EachEntryOf(HANDLE directory, Take take) {
  alignas(8) char buffer[64 * 1024];
  FILE_INFO_BY_HANDLE_CLASS kind = FileFullDirectoryRestartInfo;
  while (::GetFileInformationByHandleEx(directory, kind, buffer, sizeof buffer)) {
    kind = FileFullDirectoryInfo;
    for (size_t at = 0;;) {
      const auto* entry = reinterpret_cast<const FILE_FULL_DIR_INFO*>(buffer + at);
      const std::wstring_view name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
      if (!IsDotOrDotDot(name)) take(name, entry->FileAttributes);
      if (entry->NextEntryOffset == 0) break;
      at += entry->NextEntryOffset;
    }
  }
  return ::GetLastError() == ERROR_NO_MORE_FILES;
}

HANDLE OpenForListing(const std::wstring& path) {
  return ::CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
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
  win32::UniqueHandle handle(OpenForListing(win32::Wide(directory)));
  if (!handle.Valid()) return entries;
  EachEntryOf(handle.Get(), [&entries](std::wstring_view name, DWORD attributes) {
    entries.push_back(DirectoryEntry{win32::Narrow(name), KindOfAttributes(attributes)});
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
  HANDLE handle = OpenForListing(win32::Wide(path));
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
  const bool read = EachEntryOf(HandleOf(handle_), [names](std::wstring_view name, DWORD) {
    names->push_back(win32::Narrow(name));
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
