#include "evacuator/tuckaway_window_model.h"

#include <algorithm>

#include "common/name_order.h"

namespace tuckaway {
namespace {

std::string Num(int64_t value) { return std::to_string(value); }

}  // namespace

void TuckawayWindowModel::SetTitle(const std::string& title) {
  Record("SetTitle(" + title + ")");
  title_ = title;
}

void TuckawayWindowModel::EnableControls(bool enable) {
  Record("EnableControls(" + Num(enable) + ")");
  controlsEnabled_ = enable;
}

void TuckawayWindowModel::SetSourceText(const std::string& text) {
  Record("SetSourceText(" + text + ")");
  sourceText_ = text;
}

void TuckawayWindowModel::SetTargetText(const std::string& text) {
  Record("SetTargetText(" + text + ")");
  targetText_ = text;
  targetSelection_ = Selection{};
}

void TuckawayWindowModel::FocusTarget() {
  Record("FocusTarget()");
  targetFocused_ = true;
}

void TuckawayWindowModel::SelectTargetFromEnd(int64_t caret) {
  Record("SelectTargetFromEnd(" + Num(caret) + ")");
  targetSelection_ = Selection{-1, caret};
}

void TuckawayWindowModel::ListClear() {
  Record("ListClear()");
  entries_.clear();
}

void TuckawayWindowModel::ListAddSorted(const std::string& name) {
  Record("ListAddSorted(" + name + ")");
  const auto at = std::upper_bound(entries_.begin(), entries_.end(), name, [](const std::string& value, const ListEntry& entry) {
    return suite::NameSortsBefore(value, entry.name);
  });
  entries_.insert(at, ListEntry{name, std::nullopt});
}

void TuckawayWindowModel::ListAppendColoured(const std::string& name, Rgb colour) {
  Record("ListAppendColoured(" + name + "," + Num(colour.red) + "," + Num(colour.green) + "," + Num(colour.blue) +
         ")");
  entries_.push_back(ListEntry{name, colour});
}

int64_t TuckawayWindowModel::ListCount() { return static_cast<int64_t>(entries_.size()); }

std::string TuckawayWindowModel::ListText(int64_t index) {
  if (index < 0 || index >= ListCount()) return std::string();
  return entries_[static_cast<size_t>(index)].name;
}

void TuckawayWindowModel::ListDelete(int64_t index) {
  Record("ListDelete(" + Num(index) + ")");
  if (index < 0 || index >= ListCount()) return;
  entries_.erase(entries_.begin() + index);
}

void TuckawayWindowModel::StartListing() {
  Record("StartListing()");
  ++pendingListings_;
}

}  // namespace tuckaway
