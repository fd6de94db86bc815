// The quick index `_mp`: block number k -> byte offset of line k * 10000 + 1.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "common/line_quantities.h"

namespace lorvane {

// Offsets are real byte positions in the target, whatever its line ends.
// Enumerates in key order.
class QuickIndex {
 public:
  using Table = std::map<int64_t, int64_t>;

  void Clear() { table_.clear(); }
  void Set(suite::BlockKey key, suite::ByteOffset offset) { table_[key.value] = offset.value; }
  void Erase(suite::BlockKey key) { table_.erase(key.value); }
  std::optional<suite::ByteOffset> Find(suite::BlockKey key) const;
  bool Empty() const { return table_.empty(); }
  int64_t Size() const { return static_cast<int64_t>(table_.size()); }
  // The highest key, or -1 for an empty index.
  suite::BlockKey HighestKey() const { return suite::BlockKey{table_.empty() ? -1 : table_.rbegin()->first}; }
  const Table& Entries() const { return table_; }

 private:
  Table table_;
};

// "_mp[%ld]=%ld;" and CR LF per entry: the text F5 shows and the descriptor stores.
std::string QuickIndexText(const QuickIndex& index);

}  // namespace lorvane
