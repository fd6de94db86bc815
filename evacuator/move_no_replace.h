// Moving a file without ever replacing one.
#pragma once

#include <string>

namespace tuckaway {

// Moves `from` to `to` within one file system. Never replaces an existing
// file: when `to` exists, or the move fails for any other reason, it gives
// false and both paths stay as they were.
bool MoveFileNoReplace(const std::string& from, const std::string& to);

// The same by a hard link under the new name, for file systems whose rename
// can't be told not to replace. The old name goes by a rename to a name of
// its own beside `to`, so that a file another program put under the old name
// in the meantime is put back, never removed.
bool MoveFileByLink(const std::string& from, const std::string& to);

}  // namespace tuckaway
