#include "searcher/engine/quick_index.h"

#include <algorithm>
#include <charconv>

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

void AppendQuickIndexText(const QuickIndex& index, std::string& text) {
  // An update writes the whole index again: no formatting by format string.
  text.reserve(text.size() + index.Entries().size() * 32);
  char number[24];
  const auto append = [&](int64_t value) { text.append(number, std::to_chars(number, number + sizeof number, value).ptr); };
  for (const auto& [key, offset] : index.Entries()) {
    text += "_mp[";
    append(key);
    text += "]=";
    append(offset);
    text += ";\r\n";
  }
}

std::string QuickIndexText(const QuickIndex& index) {
  std::string text;
  AppendQuickIndexText(index, text);
  return text;
}

}  // namespace lorvane
