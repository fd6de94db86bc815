#include "searcher/engine/target_seek.h"

#include "common/exclusive_file.h"
#include "searcher/engine/quick_index.h"

namespace lorvane {

std::optional<suite::ByteOffset> SeekableEntry(const QuickIndex& index, suite::BlockKey key,
                                               suite::ExclusiveFile& file) {
  const std::optional<suite::ByteOffset> offset = index.Find(key);
  if (!offset || offset->value < 0) return std::nullopt;
  if (offset->value == 0) return offset;
  if (offset->value >= file.Size()) return std::nullopt;
  char before = 0;
  if (file.ReadAt(&before, 1, offset->value - 1) != 1 || before != '\n') return std::nullopt;
  return offset;
}

}  // namespace lorvane
