// Moving a file without ever replacing one: the platform layer's moves, by the
// names the evacuator uses.
#pragma once

#include "common/file_moves.h"

namespace tuckaway {

using suite::MoveFileByLink;
using suite::MoveFileNoReplace;

}  // namespace tuckaway
