// The snippet window held in memory: the state every operation leaves.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/status_area.h"
#include "snippets/snipkeep_window.h"

namespace snipkeep {

// Keeps what the window shows, without showing it. The window can draw from
// it, and tests use it as their fake: every operation that changes something
// is also handed to `Record` as one line ("PostStatus(...)",
// "EnableBox(MultiLine,0)", ...), so a test can check the order of calls.
// Not thread-safe: the window calls it on its own thread only.
class SnipkeepWindowModel : public SnipkeepWindow {
 public:
  struct ListEntry {
    std::string text;
    Rgb colour;
    friend bool operator==(const ListEntry&, const ListEntry&) = default;
  };
  struct BoxState {
    bool enabled = true;
    bool caretAtEnd = false;  // setting a text puts the caret at its start
  };
  // Runs the chooser in place of the dialog (a test's script of clicks).
  using ChooserScript = std::function<void(ListChooser&)>;

  void SetTitle(const std::string& title) override;
  void PostStatus(const std::string& message) override;
  SnipkeepForm ReadForm() override;
  void SetFlag(Flag flag, bool on) override;
  void SetBoxText(Box box, const std::string& text) override;
  void EnableBox(Box box, bool enable) override;
  void FocusBox(Box box) override;
  void PlaceCaret(Box box, bool atEnd) override;
  void EnableCopyButton(CopyOperation button, bool enable) override;
  void ListClear() override;
  void ListAppend(const std::string& text, Rgb colour) override;
  void SetClipboardText(const std::string& text) override;
  void RunListChooser(ListChooser& chooser) override;

  const std::string& Title() const { return title_; }
  const std::string& StatusLine() const { return status_.Line(); }
  // What the controls show: typing and clicks on check boxes go here.
  SnipkeepForm& Controls() { return controls_; }
  const BoxState& BoxOf(Box box) const { return boxes_[static_cast<size_t>(box)]; }
  std::optional<Box> Focus() const { return focus_; }
  bool CopyButtonEnabled(CopyOperation button) const { return copyButtons_[static_cast<size_t>(button) - 1]; }
  const std::vector<ListEntry>& Entries() const { return entries_; }
  const std::string& Clipboard() const { return clipboard_; }
  void SetChooserScript(ChooserScript script) { chooserScript_ = std::move(script); }

 protected:
  virtual void Record(const std::string& call) { (void)call; }

 private:
  std::string title_;
  suite::OneLineStatusArea status_;
  SnipkeepForm controls_;
  std::array<BoxState, 2> boxes_;
  std::optional<Box> focus_;
  std::array<bool, 4> copyButtons_ = {true, true, true, true};
  std::vector<ListEntry> entries_;
  std::string clipboard_;
  ChooserScript chooserScript_;
};

const char* ToString(Box box);

}  // namespace snipkeep
