// Moving a file without ever replacing one.
#pragma once

#include <string>

namespace tuckaway {

// Moves `from` to `to` within one file system. Never replaces an existing
// file: when `to` exists, or the move fails for any other reason, it gives
// false and both paths stay as they were.
bool MoveFileNoReplace(const std::string& from, const std::string& to);

// The same by a hard link under the new name and the removal of the old one;
// for file systems whose rename can't be told not to replace.
bool MoveFileByLink(const std::string& from, const std::string& to);

}  // namespace tuckaway
