// What the list-file chooser needs of its dialog.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "snippets/chooser_list.h"
#include "snippets/message_boxes.h"

namespace snipkeep {

// The chooser reaches its dialog only through these operations. The list is
// filled from a worker thread, with one ListFill a fill: an implementation
// carries out each call whole, on the dialog's thread, in the order made; it
// runs one fill at a time (a fill asked for while one runs starts when that
// one ends), and a fill still running when the dialog closes ends before the
// dialog goes. Texts are in the code page.
class ListChooserWindow : public MessageBoxes {
 public:
  // The list of list names. Indexes are 0-based; -1 means none.
  // Replaces the whole list with `entries` and selects `selection`.
  virtual void ListFill(const std::vector<ChooserEntry>& entries, int64_t selection) = 0;
  // An entry in the window's text colour at `index` (the count: at the end).
  virtual void ListInsert(int64_t index, const ChooserEntry& entry) = 0;
  virtual std::vector<std::string> ListTexts() = 0;
  // The file name an entry carries (ChooserEntry::fileName); empty out of range.
  virtual std::string ListFileName(int64_t index) = 0;
  virtual int64_t ListSelection() = 0;
  virtual void ListSelect(int64_t index) = 0;

  // Runs ListChooser::FillList with this dialog on a worker thread at normal
  // priority.
  virtual void StartFilling() = 0;
  // The name dialog, modal; the typed name, or nothing when it was cancelled.
  virtual std::optional<std::string> AskNewListName() = 0;
  // Closes the chooser; the choice, if any, is the chooser's to keep.
  virtual void EndDialog() = 0;
};

}  // namespace snipkeep
