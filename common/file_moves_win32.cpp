#include "common/file_moves.h"

#include "common/lock_mark_win32.h"
#include "common/wide_text_win32.h"

namespace suite {
namespace {

// Renames the file open as `file` to `to`, never replacing what is there.
bool RenameHandle(HANDLE file, const std::string& to) {
  const std::wstring target = win32::Wide(to);
  const size_t size = sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t);
  std::string storage(size, '\0');
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(storage.data());
  rename->ReplaceIfExists = FALSE;
  rename->RootDirectory = nullptr;
  rename->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
  target.copy(rename->FileName, target.size());
  return ::SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(size)) != 0;
}

}  // namespace

// Without MOVEFILE_REPLACE_EXISTING the move refuses an existing target
// (ERROR_ALREADY_EXISTS), and without MOVEFILE_COPY_ALLOWED it stays on the
// volume: the rename POSIX systems do with RENAME_NOREPLACE.
bool MoveFileNoReplace(const std::string& from, const std::string& to) {
  return ::MoveFileExW(win32::Wide(from).c_str(), win32::Wide(to).c_str(), 0) != 0;
}

// Windows' rename never replaces by itself: no link is needed.
bool MoveFileByLink(const std::string& from, const std::string& to) { return MoveFileNoReplace(from, to); }

LockedMove MoveFileUnlessLocked(const std::string& from, const std::string& to) {
  // The file moves through the handle that holds its lock mark, so the name
  // moved is the file found unlocked, whatever took the name meanwhile.
  win32::UniqueHandle file(::CreateFileW(win32::Wide(from).c_str(), GENERIC_READ | DELETE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.Valid()) return ::GetLastError() == ERROR_SHARING_VIOLATION ? LockedMove::kLocked : LockedMove::kFailed;
  if (!win32::LockMark(file.Get())) {
    if (win32::HeldByLock(::GetLastError())) return LockedMove::kLocked;
    // A file system without locks: nobody can hold a file there either.
  }
  return RenameHandle(file.Get(), to) ? LockedMove::kMoved : LockedMove::kFailed;
}

bool RenameOver(const std::string& from, const std::string& to) {
  return ::MoveFileExW(win32::Wide(from).c_str(), win32::Wide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

int RemoveFile(const std::string& path) {
  return ::DeleteFileW(win32::Wide(path).c_str()) ? 0 : win32::LastErrno();
}

}  // namespace suite
