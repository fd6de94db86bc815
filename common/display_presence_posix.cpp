#include "common/display_presence.h"

#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace suite {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// True when something accepts a connection at the Unix socket `path`; with
// `abstract` in Linux's abstract namespace (where X servers listen too).
bool SocketAnswers(const std::string& path, bool abstract) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const size_t offset = abstract ? 1 : 0;
  if (path.size() + offset >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path + offset, path.data(), path.size());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size() + (abstract ? 0 : 1));
  const bool answered = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
  ::close(fd);
  return answered;
}

// The display number of a local X display (":1", ":1.0", "unix:1"), or "" for
// any other form (a remote host, or a form this doesn't know).
std::string LocalDisplayNumber(std::string_view display) {
  if (display.starts_with("unix:")) display.remove_prefix(4);
  if (!display.starts_with(":")) return "";
  display.remove_prefix(1);
  const size_t digits = display.find_first_not_of("0123456789");
  const std::string_view number = display.substr(0, digits);
  if (number.empty() || (digits != std::string_view::npos && display[digits] != '.')) return "";
  return std::string(number);
}

}  // namespace

std::string MissingDisplayReason() {
  const std::string platform = Env("QT_QPA_PLATFORM");
  if (!platform.empty() && !platform.starts_with("xcb")) return "";
  if (platform.empty() && !Env("WAYLAND_DISPLAY").empty()) return "";
  const std::string display = Env("DISPLAY");
  if (display.empty()) return "DISPLAY is not set";
  const std::string number = LocalDisplayNumber(display);
  if (number.empty()) return "";
  const std::string socket = "/tmp/.X11-unix/X" + number;
  if (SocketAnswers(socket, true) || SocketAnswers(socket, false)) return "";
  return "no X server answers at DISPLAY=" + display;
}

void KeepClosedConnectionsFromEndingTheProgram() { std::signal(SIGPIPE, SIG_IGN); }

}  // namespace suite
