// A main dialog held in memory: the state every dialog operation leaves behind.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "splitter/cleavora_form.h"
#include "splitter/cleavora_window.h"

namespace cleavora {

// Keeps what the real dialog would show, without showing it; the dialog builds
// on it and only mirrors it in its widgets, and tests use it as their fake.
// Every operation except LinesPerPiece is also handed to `Record` as one line
// ("SetStatusText(...)", "EnableInput(0)", ...), so a test can check the order.
// Only the stored piece size may be used from two threads at once.
class CleavoraWindowModel : public CleavoraWindow {
 public:
  CleavoraWindowModel();

  std::string FilePath() override;
  int64_t LinesPerPiece() override;
  void SetFilePath(const std::string& path) override;
  void SetLinesPerPiece(int64_t lines) override;
  void SetStatusText(const std::string& text) override;

  bool ReadForm() override;
  void ReadPathField() override;
  void ShowForm() override;
  void ShowStatusLine(const std::string& text) override;

  void EnableInput(bool enable) override;
  bool InputEnabled() override;

  void SetTitle(const std::string& title) override;
  void FocusPathField(PathSelection selection) override;
  std::optional<std::string> ChooseFile(const FileChooserRequest& request) override;
  void StartSplitWorker() override;

  // What the fields show: typing goes here and is taken by ReadForm.
  CleavoraFields& Fields() { return fields_; }
  CleavoraForm Form() const;
  const std::string& Title() const { return title_; }
  bool PathFieldFocused() const { return pathFocused_; }
  PathSelection PathFieldSelection() const { return pathSelection_; }
  // What the form validation reported, oldest first.
  const std::vector<std::string>& ValidationMessages() const { return validationMessages_; }
  // The chooser's answer from now on (nothing: it is cancelled).
  void SetChooserAnswer(std::optional<std::string> path) { chooserAnswer_ = std::move(path); }
  const std::vector<FileChooserRequest>& ChooserRequests() const { return chooserRequests_; }
  int WorkersStarted() const { return workersStarted_; }

 protected:
  // Every operation, as one line of text.
  virtual void Record(const std::string& call) { (void)call; }
  // The form validation's message; the dialog shows it to the user.
  virtual void ReportValidation(const std::string& message) { validationMessages_.push_back(message); }

 private:
  std::string filePath_;
  std::string statusText_;
  std::atomic<int64_t> linesPerPiece_;
  CleavoraFields fields_;
  std::string title_;
  bool inputEnabled_ = true;
  bool pathFocused_ = false;
  PathSelection pathSelection_ = PathSelection::None;
  std::vector<std::string> validationMessages_;
  std::optional<std::string> chooserAnswer_;
  std::vector<FileChooserRequest> chooserRequests_;
  int workersStarted_ = 0;
};

}  // namespace cleavora
