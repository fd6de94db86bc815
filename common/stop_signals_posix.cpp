#include "common/stop_signals.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace suite {
namespace {

// Lock-free atomics are safe to touch from a signal handler.
std::atomic<int> stopSignal{0};
std::atomic<int> pipeRead{-1};
std::atomic<int> pipeWrite{-1};
static_assert(std::atomic<int>::is_always_lock_free);

void OnStopSignal(int signal) {
  const int savedErrno = errno;
  stopSignal.store(signal);
  const int fd = pipeWrite.load();
  // Non-blocking: with the pipe full a wake is already pending.
  if (fd >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
  }
  errno = savedErrno;
}

void OpenPipe() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  pipeRead.store(fds[0]);
  pipeWrite.store(fds[1]);
}

}  // namespace

void CatchStopSignals() {
  // Without the pipe the flag still works; a wait then sees it at its next timeout.
  static std::once_flag pipeOpened;
  std::call_once(pipeOpened, OpenPipe);
  struct sigaction action = {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
}

bool StopRequested() { return stopSignal.load() != 0; }

int StopSignalNumber() { return stopSignal.load(); }

int StopSignalDescriptor() { return pipeRead.load(); }

void ResetStopSignals() {
  stopSignal.store(0);
  const int fd = pipeRead.load();
  if (fd < 0) return;
  char bytes[64];
  while (::read(fd, bytes, sizeof bytes) > 0) {
  }
}

}  // namespace suite
