#include "searcher/engine/quick_index.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

namespace lorvane {

namespace {

bool KeyBefore(const std::pair<int64_t, int64_t>& entry, int64_t key) { return entry.first < key; }

}  // namespace

void QuickIndex::Set(suite::BlockKey key, suite::ByteOffset offset) {
  if (table_.empty() || table_.back().first < key.value) {
    table_.emplace_back(key.value, offset.value);
    return;
  }
  const auto at = std::lower_bound(table_.begin(), table_.end(), key.value, KeyBefore);
  if (at != table_.end() && at->first == key.value) {
    at->second = offset.value;
  } else {
    table_.emplace(at, key.value, offset.value);
  }
}

void QuickIndex::Erase(suite::BlockKey key) {
  const auto at = std::lower_bound(table_.begin(), table_.end(), key.value, KeyBefore);
  if (at != table_.end() && at->first == key.value) table_.erase(at);
}

std::optional<suite::ByteOffset> QuickIndex::Find(suite::BlockKey key) const {
  const auto at = std::lower_bound(table_.begin(), table_.end(), key.value, KeyBefore);
  if (at == table_.end() || at->first != key.value) return std::nullopt;
  return suite::ByteOffset{at->second};
}

void QuickIndex::Assign(Table entries) {
  const auto before = [](const auto& a, const auto& b) { return a.first < b.first; };
  if (!std::is_sorted(entries.begin(), entries.end(), before)) {
    std::stable_sort(entries.begin(), entries.end(), before);
  }
  // Of equal keys the last one read holds.
  size_t kept = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (kept > 0 && entries[kept - 1].first == entries[i].first) {
      entries[kept - 1].second = entries[i].second;
    } else {
      entries[kept++] = entries[i];
    }
  }
  entries.resize(kept);
  table_ = std::move(entries);
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
