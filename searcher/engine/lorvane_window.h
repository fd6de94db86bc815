// What the searcher's engine needs of its main window.
#pragma once

#include <cstdint>
#include <string>

#include "searcher/engine/lorvane_form.h"

namespace lorvane {

// The engine reaches the window only through these operations. Workers call them
// from their own threads: an implementation carries out each call whole, on the
// window's thread, in the order made. Texts are in the code page (the file path
// in file-system bytes); the implementation converts at its edge.
class LorvaneWindow {
 public:
  virtual ~LorvaneWindow() = default;

  // The time prefix and the message into the status area; then a refresh of the form.
  virtual void PostStatus(const std::string& message) = 0;
  // Locks (false) or unlocks (true) controls, function keys and drops; with
  // `progress`, locking shows the progress bar and unlocking hides it.
  virtual void EnableControls(bool enable, bool progress) = 0;
  // Reads the form, empties the read-lines and results fields and the three
  // lists, refreshes the form.
  virtual void ResetResultViews() = 0;

  // The form.
  virtual LorvaneForm ReadForm() = 0;     // copies the controls into the form; gives a copy
  virtual LorvaneForm StoredForm() = 0;   // a copy of the form as stored, controls untouched
  virtual void RefreshForm() = 0;
  virtual void SetFormText(FormText field, const std::string& value) = 0;
  virtual void SetFormNumber(FormNumber field, int64_t value) = 0;
  virtual void SetMatchCase(bool on) = 0;

  // Edits.
  virtual void SelectAllText(EditControl edit) = 0;
  virtual void FocusEdit(EditControl edit) = 0;
  virtual void ShowEdit(EditControl edit, bool shown) = 0;

  // Lists. Indexes are 0-based; -1 means none.
  virtual void ListClear(ListControl list) = 0;
  virtual void ListAppend(ListControl list, const std::string& text) = 0;
  virtual void ListAppendColoured(ListControl list, const std::string& text, Rgb colour) = 0;
  virtual int64_t ListCount(ListControl list) = 0;
  virtual std::string ListText(ListControl list, int64_t index) = 0;
  virtual int64_t ListSelection(ListControl list) = 0;
  virtual void ListSelect(ListControl list, int64_t index) = 0;
  // Selects the first entry with exactly this text; false when there is none.
  virtual bool ListSelectText(ListControl list, const std::string& text) = 0;
  virtual void ListDelete(ListControl list, int64_t index) = 0;

  // The progress bar.
  virtual void ProgressSetRange(int64_t low, int64_t high) = 0;
  virtual void ProgressSetStep(int64_t step) = 0;
  virtual void ProgressStep() = 0;
  virtual void ProgressSetPosition(int64_t position) = 0;

  // The start-line slider.
  virtual void SliderShow() = 0;
  virtual void SliderSetRange(int64_t low, int64_t high) = 0;
  virtual void SliderSetTickFrequency(int64_t frequency) = 0;
  virtual void SliderSetPosition(int64_t position) = 0;
  virtual int64_t SliderPosition() = 0;

  // The splash window on a thread of its own; it closes once the search
  // context's worker-done mark is set.
  virtual void ShowSplash() = 0;
  // The Notepad-Embedded dialog, modal, with a text of the target (its code page).
  virtual void ShowTextDialog(const std::string& text) = 0;
  virtual void Beep() = 0;

  // The clipboard in plain text; GetClipboardText gives the empty text when
  // the clipboard holds no text or can't be opened.
  // (a text of the target, in its code page)
  virtual void SetClipboardText(const std::string& text) = 0;
  virtual std::string GetClipboardText() = 0;

  // Asks the desktop to open a file with its default program; not examined.
  virtual void OpenWithShell(const std::string& path) = 0;

  // The window's own actions for the selected entry of the result-file list
  // and of the result list, as a user's selection runs them.
  virtual void OnSelectResultFile() = 0;
  virtual void OnSelectResultLine() = 0;

  // Starts a worker on a thread of its own (idle priority; the clipboard
  // search at normal priority), given this window.
  virtual void StartWorker(Worker worker) = 0;
  // True when the program was started with a qualifying command line: every
  // pre-read that completes is then followed by a search.
  virtual bool AutoSearchMarked() = 0;
};

}  // namespace lorvane
