// Message boxes of a window: what the list-file operations report or ask.
#pragma once

#include <string>

namespace snipkeep {

// Texts are in the code page.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A message box with an OK button; returns when it is closed.
  virtual void ShowMessage(const std::string& text) = 0;
  // A question with Yes and No buttons; true for Yes.
  virtual bool AskYesNo(const std::string& question) = 0;
};

}  // namespace snipkeep
