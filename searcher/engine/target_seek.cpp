#include "searcher/engine/target_seek.h"

#include <unistd.h>

#include "common/exclusive_file.h"
#include "searcher/engine/quick_index.h"

namespace lorvane {

std::optional<int64_t> SeekableEntry(const QuickIndex& index, int64_t key, suite::ExclusiveFile& file) {
  const std::optional<int64_t> offset = index.Find(key);
  if (!offset || *offset < 0) return std::nullopt;
  if (*offset == 0) return offset;
  if (*offset >= file.Size()) return std::nullopt;
  char before = 0;
  if (::pread(file.Descriptor(), &before, 1, static_cast<off_t>(*offset - 1)) != 1 || before != '\n') {
    return std::nullopt;
  }
  return offset;
}

}  // namespace lorvane
