// The list-file chooser's logic: its list of list names and its three buttons.
#pragma once

#include <optional>
#include <string>

#include "snippets/list_chooser_window.h"
#include "snippets/list_enumeration.h"

namespace snipkeep {

class ListFiles;

// The chooser dialog holds one ListChooser for as long as it is open and
// forwards its events to it; afterwards the main window reads the choice.
// FillList runs on a worker thread and touches only what never changes.
class ListChooser {
 public:
  // `currentListName` is the current list's name as the title shows it.
  ListChooser(const ListFiles& listFiles, std::string currentListName);

  // The dialog's initialisation: clears the created mark and starts a fill.
  void OnInitDialog(ListChooserWindow& window);
  // The fill: every list name, sorted without regard to case, the default
  // list in blue behind the names present when it is found; then the last
  // name found and the current list are selected, in that order.
  void FillList(ListChooserWindow& window) const;
  // A double click on an entry, or Enter: chooses the selected entry.
  void OnChoose(ListChooserWindow& window);
  // The new-list button: asks for a name, creates the list and chooses it.
  void OnNewListFile(ListChooserWindow& window);
  // The delete button: deletes the selected entry's list and refills.
  void OnDeleteListFile(ListChooserWindow& window);
  // The close button, or Escape: ends without a choice.
  void OnClose(ListChooserWindow& window);

  // The chosen list, its file name as the file system spells it; or nothing.
  const std::optional<ListName>& Choice() const { return choice_; }
  // True when the choice is a list created in this chooser.
  bool Created() const { return created_; }
  const std::string& CurrentListName() const { return currentListName_; }

 private:
  const ListFiles& listFiles_;
  const std::string currentListName_;
  std::optional<ListName> choice_;
  bool created_ = false;
};

}  // namespace snipkeep
