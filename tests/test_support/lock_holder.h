// A file held locked by another process, as another program holds it.
#pragma once

#include <string>
#include <sys/types.h>

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
  pid_t child_ = -1;
  bool held_ = false;
};

}  // namespace suite::testing
