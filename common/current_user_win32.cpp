#include "common/current_user.h"

#include <windows.h>

namespace suite {

// The user's name within the session: the same for every program the user
// starts, another for every other user of the machine.
std::string CurrentUserTag() {
  wchar_t name[257];
  DWORD size = sizeof name / sizeof name[0];
  if (!::GetUserNameW(name, &size) || size == 0) return "user";
  std::string tag;
  // Only letters and digits go into a name part; anything else as its number.
  for (DWORD i = 0; i + 1 < size; ++i) {
    const wchar_t c = name[i];
    if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9')) {
      tag += static_cast<char>(c);
    } else {
      tag += "_" + std::to_string(static_cast<unsigned>(c));
    }
  }
  return tag;
}

}  // namespace suite
