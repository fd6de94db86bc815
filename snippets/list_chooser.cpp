#include "snippets/list_chooser.h"

#include <utility>

#include "snippets/chooser_list.h"
#include "snippets/list_files.h"
#include "snippets/snipkeep_texts.h"

namespace snipkeep {
namespace {

// The selected entry's text, or nothing when none is selected.
std::optional<std::string> SelectedName(ListChooserWindow& window) {
  const int64_t selection = window.ListSelection();
  const std::vector<std::string> names = window.ListTexts();
  if (selection < 0 || selection >= static_cast<int64_t>(names.size())) return std::nullopt;
  return names[static_cast<size_t>(selection)];
}

}  // namespace

ListChooser::ListChooser(const ListFiles& listFiles, std::string currentListName)
    : listFiles_(listFiles), currentListName_(std::move(currentListName)) {}

void ListChooser::OnInitDialog(ListChooserWindow& window) {
  created_ = false;
  window.StartFilling();
}

void ListChooser::FillList(ListChooserWindow& window) const {
  window.ListClear();
  std::optional<std::string> lastFound;
  for (const auto& list : listFiles_.EnumerateListFiles()) {
    if (list.isDefault) {
      window.ListAppendColoured(list.name, kDefaultListColour);
    } else {
      window.ListInsert(SortedPosition(window.ListTexts(), list.name), list.name);
    }
    lastFound = list.name;
  }
  if (!lastFound) return;
  // The current list is selected last, so it wins wherever it is found; the
  // search after the first entry examines the first one last.
  const auto count = static_cast<int64_t>(window.ListTexts().size());
  SelectByText(window, count - 2, *lastFound);
  SelectByText(window, 0, currentListName_);
}

void ListChooser::SelectByText(ListChooserWindow& window, int64_t startAfter, const std::string& text) const {
  const int64_t index = FindEntryToSelect(window.ListTexts(), startAfter, text);
  if (index >= 0) window.ListSelect(index);
}

void ListChooser::OnChoose(ListChooserWindow& window) {
  // Enter with nothing selected would choose a list without a name.
  const std::optional<std::string> name = SelectedName(window);
  if (!name) return;
  choice_ = *name + kListExtension;
  window.EndDialog();
}

void ListChooser::OnNewListFile(ListChooserWindow& window) {
  const std::optional<std::string> typed = window.AskNewListName();
  if (!typed) return;
  const std::optional<std::string> name = listFiles_.CreateListFile(*typed, window);
  if (!name) return;
  const int64_t at = SortedPosition(window.ListTexts(), *name);
  window.ListInsert(at, *name);
  window.ListSelect(at);
  created_ = true;
  choice_ = *name + kListExtension;
  window.EndDialog();
}

void ListChooser::OnDeleteListFile(ListChooserWindow& window) {
  const std::optional<std::string> name = SelectedName(window);
  if (!name) return;
  if (listFiles_.DeleteListFile(*name, window)) window.StartFilling();
}

void ListChooser::OnClose(ListChooserWindow& window) {
  choice_.reset();
  window.EndDialog();
}

}  // namespace snipkeep
