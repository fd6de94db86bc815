// A display that goes away as a program connects: it listens where a local X
// server listens (the abstract socket of a display number), so a check that
// connects finds it there, and closes every connection at once, so the
// program's X connection fails as if the server had just ended.
//
// Takes the first free display number from 7000 on (binding the abstract
// name is the claim: two runs never share a number), prints it and a line
// end on stdout, and serves until killed.
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

int main() {
  const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (server < 0) return 1;
  int number = 7000;
  for (;; ++number) {
    if (number >= 9000) return 1;
    const std::string name = "/tmp/.X11-unix/X" + std::to_string(number);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());  // abstract: a leading NUL
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    if (::bind(server, reinterpret_cast<const sockaddr*>(&address), length) == 0) break;
  }
  if (::listen(server, 16) != 0) return 1;
  std::printf("%d\n", number);
  std::fflush(stdout);
  for (;;) {
    const int client = ::accept(server, nullptr, nullptr);
    if (client >= 0) ::close(client);
  }
}
