// What the snippet tool needs of its main window.
#pragma once

#include <string>

#include "snippets/snippet_colours.h"
#include "snippets/snipkeep_form.h"

namespace snipkeep {

class ListChooser;

// The core reaches the window only through these operations, all on the
// window's thread. Texts are in the code page; the implementation converts
// at its edge. The multi-line box holds CR LF line ends: the implementation
// shows them as its own line breaks and gives them back as CR LF.
class SnipkeepWindow {
 public:
  virtual ~SnipkeepWindow() = default;

  virtual void SetTitle(const std::string& title) = 0;
  // The time prefix and the message replace the status line.
  virtual void PostStatus(const std::string& message) = 0;

  // The boxes' texts and the check boxes as the controls show them now.
  virtual SnipkeepForm ReadForm() = 0;
  virtual void SetFlag(Flag flag, bool on) = 0;

  virtual void SetBoxText(Box box, const std::string& text) = 0;
  virtual void EnableBox(Box box, bool enable) = 0;
  virtual void FocusBox(Box box) = 0;
  // The caret at the end (or the start) of the box's text, scrolled into view.
  virtual void PlaceCaret(Box box, bool atEnd) = 0;
  virtual void EnableCopyButton(CopyOperation button, bool enable) = 0;

  // The snippet list, not sorted. The implementation reports a change of its
  // selection (by mouse or keys, never a click on the selected entry) with
  // SnipkeepDialog::OnEntrySelected.
  virtual void ListClear() = 0;
  virtual void ListAppend(const std::string& text, Rgb colour) = 0;

  // Plain text on the clipboard; a clipboard that can't be opened is left
  // alone without a word.
  virtual void SetClipboardText(const std::string& text) = 0;

  // Shows the list-file chooser modally, forwarding its events to `chooser`;
  // returns when it is closed. The choice is the chooser's to keep.
  virtual void RunListChooser(ListChooser& chooser) = 0;
};

}  // namespace snipkeep
