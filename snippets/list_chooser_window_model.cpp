#include "snippets/list_chooser_window_model.h"

#include <algorithm>

namespace snipkeep {
namespace {

std::string Num(int64_t value) { return std::to_string(value); }

}  // namespace

void ListChooserWindowModel::ShowMessage(const std::string& text) { Record("ShowMessage(" + text + ")"); }

bool ListChooserWindowModel::AskYesNo(const std::string& question) {
  Record("AskYesNo(" + question + ")");
  return yes_;
}

void ListChooserWindowModel::ListFill(const std::vector<ChooserEntry>& entries, int64_t selection) {
  Record("ListFill(" + Num(static_cast<int64_t>(entries.size())) + "," + Num(selection) + ")");
  entries_ = entries;
  selection_ = selection >= 0 && selection < static_cast<int64_t>(entries_.size()) ? selection : -1;
}

void ListChooserWindowModel::ListInsert(int64_t index, const ChooserEntry& entry) {
  Record("ListInsert(" + Num(index) + "," + entry.name + ")");
  index = std::clamp<int64_t>(index, 0, static_cast<int64_t>(entries_.size()));
  entries_.insert(entries_.begin() + index, ListEntry{entry.name, std::nullopt, entry.fileName});
  if (selection_ >= index) ++selection_;
}

std::vector<std::string> ListChooserWindowModel::ListTexts() {
  std::vector<std::string> names;
  names.reserve(entries_.size());
  for (const auto& entry : entries_) names.push_back(entry.name);
  return names;
}

std::string ListChooserWindowModel::ListFileName(int64_t index) {
  if (index < 0 || index >= static_cast<int64_t>(entries_.size())) return std::string();
  return entries_[static_cast<size_t>(index)].fileName;
}

void ListChooserWindowModel::ListSelect(int64_t index) {
  Record("ListSelect(" + Num(index) + ")");
  selection_ = index >= 0 && index < static_cast<int64_t>(entries_.size()) ? index : -1;
}

void ListChooserWindowModel::StartFilling() {
  Record("StartFilling()");
  ++pendingFills_;
}

std::optional<std::string> ListChooserWindowModel::AskNewListName() {
  Record("AskNewListName()");
  return name_;
}

void ListChooserWindowModel::EndDialog() {
  Record("EndDialog()");
  ended_ = true;
}

}  // namespace snipkeep
