// Where to start reading a target for a given line, through the quick index.
#pragma once

#include <cstdint>
#include <optional>

namespace suite {
class ExclusiveFile;
}

namespace lorvane {

class QuickIndex;

// The offset of entry `key` when the index has it and it still points at a
// line start of the file as it is now; nothing otherwise (the reader then
// starts at the beginning). A target changed since its pre-read thus never
// shows wrong lines through a stale entry.
std::optional<int64_t> SeekableEntry(const QuickIndex& index, int64_t key, suite::ExclusiveFile& file);

}  // namespace lorvane
