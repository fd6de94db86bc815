// A directory held by the process that works in it (a running search), so that
// a deletion which respects the hold leaves it alone.
#pragma once

#include <cstdint>
#include <string>

namespace suite {

// Holds a directory from Hold to Release (or the end of the object): an
// advisory lock on the directory itself (on Windows its share mode), gone when
// the process ends however it ends, so a crashed search never leaves a
// directory that can't be deleted.
class HeldDirectory {
 public:
  HeldDirectory() = default;
  ~HeldDirectory() { Release(); }
  HeldDirectory(const HeldDirectory&) = delete;
  HeldDirectory& operator=(const HeldDirectory&) = delete;

  // Takes the hold without waiting; false when the directory can't be opened
  // (a link is never followed) or another holds it (HeldElsewhere()).
  bool Hold(const std::string& path);
  void Release();
  bool HeldElsewhere() const { return heldElsewhere_; }
  bool Holds() const { return handle_ != -1; }

  // Removes the held directory if it is empty, through the hold (on Windows
  // the hold keeps everyone else, RemoveEmptyDirectory too, from removing
  // it), and ends the hold. 0, or the errno value: ENOTEMPTY keeps the hold.
  int RemoveIfEmpty();

 private:
  std::intptr_t handle_ = -1;  // the platform's handle of the directory
  std::string path_;
  bool heldElsewhere_ = false;
};

// True while another process or object holds the directory. Never waits.
bool DirectoryIsHeld(const std::string& path);

}  // namespace suite
