#include "common/held_directory.h"

#include "common/wide_text_win32.h"

namespace suite {
namespace {

// A directory can't be locked on Windows; its share mode holds it instead.
// The holder opens it for deletion and shares it for reading and writing
// only: a second holder (asking for deletion too) and anyone who would delete
// or rename the directory itself are refused while it is held. Its files stay
// free to open, write and delete.
HANDLE OpenDirectoryForDeletion(const std::string& path, DWORD share) {
  return ::CreateFileW(win32::Wide(path).c_str(), DELETE | FILE_READ_ATTRIBUTES, share, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

bool IsPlainDirectory(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION information;
  return ::GetFileInformationByHandle(handle, &information) &&
         (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

bool HeldDirectory::Hold(const std::string& path) {
  Release();
  heldElsewhere_ = false;
  HANDLE handle = OpenDirectoryForDeletion(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
  if (handle == INVALID_HANDLE_VALUE) {
    heldElsewhere_ = ::GetLastError() == ERROR_SHARING_VIOLATION;
    return false;
  }
  if (!IsPlainDirectory(handle)) {  // a link is never followed
    ::CloseHandle(handle);
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(handle);
  path_ = path;
  return true;
}

void HeldDirectory::Release() {
  if (handle_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = -1;
}

// The hold was opened for deletion: the directory goes through it, marked
// for deletion (refused while it has entries) and gone as the hold closes.
int HeldDirectory::RemoveIfEmpty() {
  if (handle_ == -1) return EBADF;
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  if (!::SetFileInformationByHandle(reinterpret_cast<HANDLE>(handle_), FileDispositionInfo, &disposition,
                                    sizeof disposition)) {
    return win32::LastErrno();
  }
  Release();
  return 0;
}

bool DirectoryIsHeld(const std::string& path) {
  HANDLE handle = OpenDirectoryForDeletion(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  if (handle != INVALID_HANDLE_VALUE) {
    ::CloseHandle(handle);
    return false;
  }
  return ::GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace suite
