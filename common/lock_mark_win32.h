// Windows only: the suite's hold on a file, in place of flock.
#pragma once

#include <windows.h>

namespace suite::win32 {

// The one byte every program of the suite locks to hold a file: far past any
// end a file reaches, so the lock (mandatory on Windows) keeps no program from
// reading or writing the file's bytes; it only makes a second holder's lock fail.
inline constexpr DWORD kLockOffsetLow = 0xFFFFFFFEu;
inline constexpr DWORD kLockOffsetHigh = 0x7FFFFFFFu;

// Takes the hold without waiting; false when another handle has it (the last
// error is ERROR_LOCK_VIOLATION then). Closing the handle releases it.
inline bool LockMark(HANDLE file) {
  OVERLAPPED at{};
  at.Offset = kLockOffsetLow;
  at.OffsetHigh = kLockOffsetHigh;
  return ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0;
}

inline bool HeldByLock(DWORD error) { return error == ERROR_LOCK_VIOLATION || error == ERROR_SHARING_VIOLATION; }

}  // namespace suite::win32
