// The quick index `_mp`: block number k -> byte offset of line k * 10000 + 1.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/line_quantities.h"

namespace lorvane {

// Offsets are real byte positions in the target, whatever its line ends.
// Enumerates in key order. The entries lie in one sorted array, not a tree:
// they come in key order from every scan and every descriptor we write, and
// the array is a quarter of the memory (a 10 GB log has some 100000).
class QuickIndex {
 public:
  using Table = std::vector<std::pair<int64_t, int64_t>>;

  void Clear() { table_.clear(); }
  void Set(suite::BlockKey key, suite::ByteOffset offset);
  void Erase(suite::BlockKey key);
  std::optional<suite::ByteOffset> Find(suite::BlockKey key) const;
  bool Empty() const { return table_.empty(); }
  int64_t Size() const { return static_cast<int64_t>(table_.size()); }
  // The highest key, or -1 for an empty index.
  suite::BlockKey HighestKey() const { return suite::BlockKey{table_.empty() ? -1 : table_.back().first}; }
  const Table& Entries() const { return table_; }
  // Entries in any order, as a damaged descriptor may hold them: sorted once,
  // the last of a key's entries holding, as if each had been Set in turn.
  void Assign(Table entries);

 private:
  Table table_;
};

// "_mp[%ld]=%ld;" and CR LF per entry: the text F5 shows and the descriptor stores.
std::string QuickIndexText(const QuickIndex& index);
// The same appended to `text`.
void AppendQuickIndexText(const QuickIndex& index, std::string& text);

}  // namespace lorvane
