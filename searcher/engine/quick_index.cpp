#include "searcher/engine/quick_index.h"

#include <cinttypes>
#include <cstdio>

namespace lorvane {

std::optional<suite::ByteOffset> QuickIndex::Find(suite::BlockKey key) const {
  const auto found = table_.find(key.value);
  if (found == table_.end()) return std::nullopt;
  return suite::ByteOffset{found->second};
}

std::string QuickIndexText(const QuickIndex& index) {
  std::string text;
  char line[64];
  for (const auto& [key, offset] : index.Entries()) {
    const int length = std::snprintf(line, sizeof line, "_mp[%" PRId64 "]=%" PRId64 ";\r\n", key, offset);
    text.append(line, static_cast<size_t>(length));
  }
  return text;
}

}  // namespace lorvane
