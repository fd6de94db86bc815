// Moving a file away unless another program holds it.
#pragma once

#include <string>

namespace tuckaway {

enum class MoveOutcome {
  Moved,
  Held,    // another program holds the file with a lock: it stays
  Failed,  // gone, a directory, unreadable, or the move itself failed: it stays
};

// Moves the entry `from` to `to` (MoveFileNoReplace) unless it is a regular
// file that another program holds locked, as the suite's programs hold their
// targets (an exclusive lock). The file is locked here while it is moved, so
// no program of the suite can take it in the middle; a file that can't be
// opened to look at its lock stays where it is. Symbolic links, pipes and
// other entries that aren't regular files move as they are (moving a link
// never touches its file); a directory, or a link to one, never moves.
MoveOutcome MoveUnlessHeld(const std::string& from, const std::string& to);

}  // namespace tuckaway
