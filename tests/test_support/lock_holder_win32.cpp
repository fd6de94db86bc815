#include "test_support/lock_holder.h"

#include <windows.h>

#include "common/lock_mark_win32.h"
#include "common/wide_text_win32.h"

namespace suite::testing {

// Windows locks belong to a handle: one of this process's own conflicts with
// every other handle, as another program's lock does.
LockFromAnotherProcess::LockFromAnotherProcess(const std::string& path) {
  HANDLE file = ::CreateFileW(win32::Wide(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  if (!win32::LockMark(file)) {
    ::CloseHandle(file);
    return;
  }
  child_ = reinterpret_cast<std::intptr_t>(file);
  held_ = true;
}

LockFromAnotherProcess::~LockFromAnotherProcess() { Release(); }

void LockFromAnotherProcess::Release() {
  if (child_ == -1) return;
  ::CloseHandle(reinterpret_cast<HANDLE>(child_));
  child_ = -1;
  held_ = false;
}

}  // namespace suite::testing
