// A program's claim to be the one running instance of its name for the user.
#pragma once

#include <cstdint>
#include <string>

namespace suite {

// Held for as long as the object lives, and let go when the process ends
// however it ends (a crash leaves nothing that blocks the next start). Two
// programs starting at the same moment can't both hold it. Linux: an flock on
// a file in the user's runtime folder, removed when the claim goes; Windows: a
// named mutex of the session.
// A claim that can't be made at all (no folder to keep it in) counts as held:
// a program never refuses to start for want of one.
class InstanceClaim {
 public:
  // `name` is made of letters, digits and "{}-_" (the caller's tag of the user
  // included).
  explicit InstanceClaim(const std::string& name);
  ~InstanceClaim();
  InstanceClaim(const InstanceClaim&) = delete;
  InstanceClaim& operator=(const InstanceClaim&) = delete;

  // False when another holder has the name (another process, or another
  // claim in this one).
  bool Held() const { return held_; }

 private:
  bool held_ = true;
  std::intptr_t handle_ = -1;  // the lock file's descriptor, or the mutex's handle
  std::string path_;           // the lock file, removed as the claim goes
};

}  // namespace suite
