#include "evacuator/move_unless_held.h"

#include "common/directory_listing.h"
#include "common/file_moves.h"
#include "common/path_util.h"

namespace tuckaway {
namespace {

MoveOutcome MoveEntry(const std::string& from, const std::string& to) {
  return suite::MoveFileNoReplace(from, to) ? MoveOutcome::Moved : MoveOutcome::Failed;
}

}  // namespace

MoveOutcome MoveUnlessHeld(const std::string& from, const std::string& to) {
  suite::EntryKind kind;
  if (!suite::EntryKindOf(from, &kind) || kind == suite::EntryKind::kDirectory) return MoveOutcome::Failed;
  if (kind == suite::EntryKind::kLink) {
    if (suite::IsDirectory(from)) return MoveOutcome::Failed;
    return MoveEntry(from, to);
  }
  // Opening a pipe or a device could block or act on the device; only a
  // regular file can be held the way the suite holds its targets.
  if (kind != suite::EntryKind::kFile) return MoveEntry(from, to);

  switch (suite::MoveFileUnlessLocked(from, to)) {
    case suite::LockedMove::kMoved: return MoveOutcome::Moved;
    case suite::LockedMove::kLocked: return MoveOutcome::Held;
    case suite::LockedMove::kFailed: break;
  }
  return MoveOutcome::Failed;
}

}  // namespace tuckaway
