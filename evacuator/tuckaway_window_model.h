// The evacuator's dialog held in memory: the state every operation leaves.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "evacuator/tuckaway_window.h"

namespace tuckaway {

// Keeps what the dialog shows, without showing it. The dialog can draw from
// it, and tests use it as their fake: every operation that changes something
// is also handed to `Record` as one line ("ListClear()", "EnableControls(0)",
// ...), so a test can check the order of calls. Not thread-safe: the dialog
// calls it on its own thread only.
class TuckawayWindowModel : public TuckawayWindow {
 public:
  struct ListEntry {
    std::string name;
    std::optional<Rgb> colour;  // none: the normal window text colour
    friend bool operator==(const ListEntry&, const ListEntry&) = default;
  };
  // The target field's selection: from `anchor` to `caret`, in characters;
  // an anchor of -1 is the end of the text.
  struct Selection {
    int64_t anchor = 0;
    int64_t caret = 0;
  };

  void SetTitle(const std::string& title) override;
  void EnableControls(bool enable) override;
  void SetSourceText(const std::string& text) override;
  void SetTargetText(const std::string& text) override;
  void FocusTarget() override;
  void SelectTargetFromEnd(int64_t caret) override;
  void ListClear() override;
  void ListAddSorted(const std::string& name) override;
  void ListAppendColoured(const std::string& name, Rgb colour) override;
  int64_t ListCount() override;
  std::string ListText(int64_t index) override;
  void ListDelete(int64_t index) override;
  void StartListing() override;

  const std::string& Title() const { return title_; }
  bool ControlsEnabled() const { return controlsEnabled_; }
  const std::string& SourceText() const { return sourceText_; }
  const std::string& TargetText() const { return targetText_; }
  bool TargetFocused() const { return targetFocused_; }
  const Selection& TargetSelection() const { return targetSelection_; }
  const std::vector<ListEntry>& Entries() const { return entries_; }
  // Listings asked for and not yet run.
  int& PendingListings() { return pendingListings_; }

 protected:
  virtual void Record(const std::string& call) { (void)call; }

 private:
  std::string title_;
  bool controlsEnabled_ = true;
  std::string sourceText_;
  std::string targetText_;
  bool targetFocused_ = false;
  Selection targetSelection_;
  std::vector<ListEntry> entries_;
  int pendingListings_ = 0;
};

}  // namespace tuckaway
