// What the list-file chooser needs of its dialog.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "snippets/message_boxes.h"
#include "snippets/snippet_colours.h"

namespace snipkeep {

// The chooser reaches its dialog only through these operations. The list is
// filled from a worker thread: an implementation carries out each call whole,
// on the dialog's thread, in the order made; it runs one fill at a time (a
// fill asked for while one runs starts when that one ends), and a fill still
// running when the dialog closes ends before the dialog goes. Texts are in
// the code page.
class ListChooserWindow : public MessageBoxes {
 public:
  // The list of list names. Indexes are 0-based; -1 means none.
  virtual void ListClear() = 0;
  // An entry in the window's text colour at `index` (the count: at the end).
  virtual void ListInsert(int64_t index, const std::string& name) = 0;
  virtual void ListAppendColoured(const std::string& name, Rgb colour) = 0;
  virtual std::vector<std::string> ListTexts() = 0;
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
