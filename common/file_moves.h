// Moving, renaming and removing files by name.
#pragma once

#include <string>

namespace suite {

// Moves `from` to `to` within one file system. Never replaces an existing
// file: when `to` exists, or the move fails for any other reason, it gives
// false and both paths stay as they were. A link moves as the link.
bool MoveFileNoReplace(const std::string& from, const std::string& to);

// The same by a hard link under the new name, for file systems whose rename
// can't be told not to replace. The old name goes by a rename to a name of
// its own beside `to`, so that a file another program put under the old name
// in the meantime is put back, never removed.
bool MoveFileByLink(const std::string& from, const std::string& to);

enum class LockedMove {
  kMoved,
  kLocked,  // another program holds the file locked: it stays
  kFailed,  // it can't be opened, another file took its name, or the move failed: it stays
};

// Moves the regular file `from` to `to` (MoveFileNoReplace) unless another
// program holds it locked, as the suite's programs hold their targets. The
// file is locked here while it moves, so no program of the suite can take it
// in the middle. On a file system without locks nothing is held.
LockedMove MoveFileUnlessLocked(const std::string& from, const std::string& to);

// Renames `from` to `to`, replacing a file `to` in one step: readers find the
// old file or the new one, never none.
bool RenameOver(const std::string& from, const std::string& to);

// Removes the file (or link) `path`; 0, or the errno value of the failure.
int RemoveFile(const std::string& path);

}  // namespace suite
