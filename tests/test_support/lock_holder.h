// A file held locked by another process, as another program holds it.
#pragma once

#include <cstdint>
#include <string>
#ifndef _WIN32
#include <sys/types.h>
#endif

namespace suite::testing {

// Runs `flock FILE sleep` in another process, which takes an exclusive lock
// on the file, and waits until that process says it holds it. The lock is
// released when the object goes, or by Release (should the test die, once the
// sleep is over).
class LockFromAnotherProcess {
 public:
  explicit LockFromAnotherProcess(const std::string& path);
  ~LockFromAnotherProcess();
  LockFromAnotherProcess(const LockFromAnotherProcess&) = delete;
  LockFromAnotherProcess& operator=(const LockFromAnotherProcess&) = delete;

  // True once the other process holds the lock; false when it couldn't start
  // or take it.
  bool Held() const { return held_; }
  // Ends the other process; the lock is free when this returns.
  void Release();

 private:
#ifdef _WIN32
  std::intptr_t child_ = -1;  // the handle that holds the lock
#else
  pid_t child_ = -1;
#endif
  bool held_ = false;
};

}  // namespace suite::testing
