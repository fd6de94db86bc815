// The list-file chooser held in memory: the state every operation leaves.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "snippets/list_chooser_window.h"

namespace snipkeep {

// Keeps what the chooser shows, without showing it; the dialog can draw from
// it, and tests use it as their fake, with every changing operation handed to
// `Record` as one line. The answers of the message boxes and of the name
// dialog are set beforehand. Not thread-safe.
class ListChooserWindowModel : public ListChooserWindow {
 public:
  using ListEntry = ChooserEntry;

  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& question) override;
  void ListFill(const std::vector<ChooserEntry>& entries, int64_t selection) override;
  void ListInsert(int64_t index, const ChooserEntry& entry) override;
  std::vector<std::string> ListTexts() override;
  std::string ListFileName(int64_t index) override;
  int64_t ListSelection() override { return selection_; }
  void ListSelect(int64_t index) override;
  void StartFilling() override;
  std::optional<std::string> AskNewListName() override;
  void EndDialog() override;

  const std::vector<ListEntry>& Entries() const { return entries_; }
  // Fills asked for and not yet run.
  int& PendingFills() { return pendingFills_; }
  bool Ended() const { return ended_; }
  void SetYesNoAnswer(bool yes) { yes_ = yes; }
  void SetNameAnswer(std::optional<std::string> name) { name_ = std::move(name); }

 protected:
  virtual void Record(const std::string& call) { (void)call; }

 private:
  std::vector<ListEntry> entries_;
  int64_t selection_ = -1;
  int pendingFills_ = 0;
  bool ended_ = false;
  bool yes_ = true;
  std::optional<std::string> name_;
};

}  // namespace snipkeep
