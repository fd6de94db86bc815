// Working inside one directory held open, so that its entries are reached
// through the directory opened, even if its path is taken by another meanwhile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/directory_listing.h"

namespace suite {

// Errors are errno values (0 for none) on every platform, so the messages that
// show them keep their numbers. Not thread-safe.
class OpenDirectory {
 public:
  OpenDirectory() = default;
  ~OpenDirectory();
  OpenDirectory(const OpenDirectory&) = delete;
  OpenDirectory& operator=(const OpenDirectory&) = delete;

  // Opens the directory itself: a symbolic link in its place is refused, so
  // nothing it points to is ever touched.
  int Open(const std::string& path);
  bool IsOpen() const { return handle_ >= 0; }

  // The names of its entries, "." and ".." left out, in the file system's order.
  int Names(std::vector<std::string>* names) const;

  // The kind of the entry `name`, a link as a link (ENOENT: it is gone).
  int KindOf(const std::string& name, EntryKind* kind) const;

  // Removes the file `name` unless another program holds it locked (as the
  // suite holds its targets and result files): EWOULDBLOCK then, and it
  // stays. It is locked here while it goes, so nobody takes it in between.
  int RemoveFileUnlessLocked(const std::string& name) const;

 private:
  std::intptr_t handle_ = -1;  // the platform's handle of the directory
};

}  // namespace suite
