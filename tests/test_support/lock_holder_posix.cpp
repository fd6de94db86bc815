#include "test_support/lock_holder.h"

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace suite::testing {
namespace {

// The bound of test_support/patience.h: it only ends a hung run.
constexpr int kLockPatienceMs = 60000;

}  // namespace

LockFromAnotherProcess::LockFromAnotherProcess(const std::string& path) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return;
  child_ = ::fork();
  if (child_ < 0) {
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    return;
  }
  if (child_ == 0) {
    // flock(1) itself keeps the lock (-o: its command doesn't), so the lock
    // is gone once it is reaped; the command goes with it in a group of its own.
    ::setpgid(0, 0);
    ::dup2(pipeEnds[1], STDOUT_FILENO);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    ::execlp("flock", "flock", "-o", path.c_str(), "sh", "-c", "echo held && exec sleep 600", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(pipeEnds[1]);
  // The word comes once the lock is taken; the end of the pipe, without it,
  // when flock(1) failed.
  pollfd ready{pipeEnds[0], POLLIN, 0};
  char word[8] = {};
  int polled;
  while ((polled = ::poll(&ready, 1, kLockPatienceMs)) < 0 && errno == EINTR) {
  }
  if (polled > 0) {
    ssize_t got;
    while ((got = ::read(pipeEnds[0], word, sizeof word - 1)) < 0 && errno == EINTR) {
    }
    held_ = got >= 4 && std::string(word, 4) == "held";
  }
  ::close(pipeEnds[0]);
}

LockFromAnotherProcess::~LockFromAnotherProcess() { Release(); }

void LockFromAnotherProcess::Release() {
  if (child_ <= 0) return;
  ::kill(-child_, SIGKILL);
  ::kill(child_, SIGKILL);  // should it not have made its group yet
  int status = 0;
  while (::waitpid(child_, &status, 0) < 0 && errno == EINTR) {
  }
  child_ = -1;
  held_ = false;
}

}  // namespace suite::testing
