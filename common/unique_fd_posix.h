// A POSIX file descriptor closed when it goes out of scope. Only the platform
// layer's POSIX files include this; the rest of the suite never sees a descriptor.
#pragma once

#include <unistd.h>

namespace suite {

class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);  // and with it any lock taken through it
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }

 private:
  int fd_;
};

}  // namespace suite
