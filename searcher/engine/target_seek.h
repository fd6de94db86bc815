// Where to start reading a target for a given line, through the quick index.
#pragma once

#include <cstdint>
#include <optional>

#include "common/line_quantities.h"

namespace suite {
class ExclusiveFile;
}

namespace lorvane {

class QuickIndex;

// The offset of entry `key` when the index has it and it still points at a
// line start of the file as it is now; nothing otherwise (the reader then
// starts at the beginning). A target changed since its pre-read thus never
// shows wrong lines through a stale entry.
std::optional<suite::ByteOffset> SeekableEntry(const QuickIndex& index, suite::BlockKey key,
                                               suite::ExclusiveFile& file);

}  // namespace lorvane
