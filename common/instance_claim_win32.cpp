#include "common/instance_claim.h"

#include <windows.h>

#include "common/wide_text_win32.h"

namespace suite {

InstanceClaim::InstanceClaim(const std::string& name) {
  // "Local\": the user's session; a mutex goes with the last handle to it,
  // which Windows closes when a process ends.
  std::wstring wide = L"Local\\" + win32::Wide(name);
  for (size_t i = 6; i < wide.size(); ++i) {
    if (wide[i] == L'\\') wide[i] = L'_';
  }
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, wide.c_str());
  if (mutex == nullptr) return;  // counts as held
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(mutex);
    held_ = false;
    return;
  }
  handle_ = reinterpret_cast<std::intptr_t>(mutex);
}

InstanceClaim::~InstanceClaim() {
  if (handle_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

}  // namespace suite
