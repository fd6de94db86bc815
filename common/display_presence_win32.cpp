#include "common/display_presence.h"

#include <windows.h>

#include <cstdlib>

namespace suite {

// A platform named in QT_QPA_PLATFORM other than the desktop's (offscreen,
// minimal) needs no desktop. Otherwise the window station tells: a program
// started by a service or over a remote shell runs on one that shows nothing,
// and its window would wait there unseen.
std::string MissingDisplayReason() {
  const wchar_t* platform = ::_wgetenv(L"QT_QPA_PLATFORM");
  if (platform && platform[0] != L'\0' && std::wcsncmp(platform, L"windows", 7) != 0) return std::string();
  HWINSTA station = ::GetProcessWindowStation();
  USEROBJECTFLAGS flags{};
  if (station && ::GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr) &&
      (flags.dwFlags & WSF_VISIBLE) == 0) {
    return "the window station is not interactive (started by a service or a remote shell?)";
  }
  return std::string();
}

void KeepClosedConnectionsFromEndingTheProgram() {}

}  // namespace suite
