// What the evacuator needs of its dialog.
#pragma once

#include <cstdint>
#include <string>

#include "evacuator/list_colours.h"

namespace tuckaway {

// The evacuator reaches its dialog only through these operations. The listing
// calls them from its worker thread: an implementation carries out each call
// whole, on the window's thread, in the order made. Texts are in the code page;
// paths and file names are file-system bytes. The implementation converts at
// its edge.
class TuckawayWindow {
 public:
  virtual ~TuckawayWindow() = default;

  virtual void SetTitle(const std::string& title) = 0;
  // Locks (false) or unlocks (true) the refresh and move buttons.
  virtual void EnableControls(bool enable) = 0;

  // The two read-only fields.
  virtual void SetSourceText(const std::string& text) = 0;
  virtual void SetTargetText(const std::string& text) = 0;
  // Gives the target field the keyboard focus.
  virtual void FocusTarget() = 0;
  // Selects the target field's text from its end back to `caret` characters
  // from its start (anchor at the end, caret there) and scrolls the caret into
  // view.
  virtual void SelectTargetFromEnd(int64_t caret) = 0;

  // The file list. Indexes are 0-based.
  virtual void ListClear() = 0;
  // Adds an entry without colour at its place in the order of suite::NameSortsBefore.
  virtual void ListAddSorted(const std::string& name) = 0;
  // Adds an entry with a colour at the end.
  virtual void ListAppendColoured(const std::string& name, Rgb colour) = 0;
  virtual int64_t ListCount() = 0;
  // The entry's name; the empty text for an index out of range.
  virtual std::string ListText(int64_t index) = 0;
  virtual void ListDelete(int64_t index) = 0;

  // Runs Evacuator::ListFiles with this window on a worker thread at normal
  // priority.
  virtual void StartListing() = 0;
};

}  // namespace tuckaway
