#include "snippets/list_chooser.h"

#include <utility>

#include "snippets/chooser_list.h"
#include "snippets/list_files.h"

namespace snipkeep {
namespace {

// The selected entry's list, or nothing when none is selected.
std::optional<ListName> SelectedList(ListChooserWindow& window) {
  const int64_t selection = window.ListSelection();
  const std::vector<std::string> names = window.ListTexts();
  if (selection < 0 || selection >= static_cast<int64_t>(names.size())) return std::nullopt;
  return ListName{names[static_cast<size_t>(selection)], false, window.ListFileName(selection)};
}

}  // namespace

ListChooser::ListChooser(const ListFiles& listFiles, std::string currentListName)
    : listFiles_(listFiles), currentListName_(std::move(currentListName)) {}

void ListChooser::OnInitDialog(ListChooserWindow& window) {
  created_ = false;
  window.StartFilling();
}

void ListChooser::FillList(ListChooserWindow& window) const {
  // The whole list is arranged here and handed over in one call: a call a
  // name would cost a round trip to the dialog's thread each.
  const std::vector<ListName> found = listFiles_.EnumerateListFiles();
  const std::vector<ChooserEntry> entries = ArrangeChooserList(found);
  int64_t selection = -1;
  if (!found.empty()) {
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (const ChooserEntry& entry : entries) names.push_back(entry.name);
    // The last name found is selected first, searching after the next-to-last
    // entry; then the current list, where it is found, searching after the
    // first entry, so that the first one is examined last.
    selection = FindEntryToSelect(names, static_cast<int64_t>(names.size()) - 2, found.back().name);
    const int64_t current = FindEntryToSelect(names, 0, currentListName_);
    if (current >= 0) selection = current;
  }
  window.ListFill(entries, selection);
}

void ListChooser::OnChoose(ListChooserWindow& window) {
  // Enter with nothing selected would choose a list without a name.
  const std::optional<ListName> list = SelectedList(window);
  if (!list) return;
  choice_ = list;
  window.EndDialog();
}

void ListChooser::OnNewListFile(ListChooserWindow& window) {
  const std::optional<std::string> typed = window.AskNewListName();
  if (!typed) return;
  const std::optional<ListName> list = listFiles_.CreateListFile(*typed, window);
  if (!list) return;
  const int64_t at = SortedPosition(window.ListTexts(), list->name);
  window.ListInsert(at, ChooserEntry{list->name, std::nullopt, list->fileName});
  window.ListSelect(at);
  created_ = true;
  choice_ = list;
  window.EndDialog();
}

void ListChooser::OnDeleteListFile(ListChooserWindow& window) {
  const std::optional<ListName> list = SelectedList(window);
  if (!list) return;
  if (listFiles_.DeleteListFile(*list, window)) window.StartFilling();
}

void ListChooser::OnClose(ListChooserWindow& window) {
  choice_.reset();
  window.EndDialog();
}

}  // namespace snipkeep
