// A main window held in memory: the state every window operation leaves behind.
#pragma once

#include <array>
#include <deque>
#include <string>
#include <vector>

#include "common/status_area.h"
#include "searcher/engine/lorvane_window.h"

namespace lorvane {

// Keeps what a real window would show, without showing it. The console program
// builds on it, and tests use it as their fake: every operation is also handed
// to `Record` as one line ("PostStatus(...)", "EnableControls(0,1)", ...), so a
// test can check the order of calls. Not thread-safe: its users run workers on
// the calling thread.
class LorvaneWindowModel : public LorvaneWindow {
 public:
  struct ListEntry {
    std::string text;
    Rgb colour;
  };
  struct ListState {
    std::vector<ListEntry> entries;
    int64_t selection = -1;
  };
  struct Gauge {
    int64_t low = 0, high = 100, step = 10, position = 0, tickFrequency = 1;
    bool shown = false;
  };
  struct EditState {
    bool allSelected = false;
    bool shown = true;
  };

  void PostStatus(const std::string& message) override;
  void EnableControls(bool enable, bool progress) override;
  void ResetResultViews() override;

  LorvaneForm ReadForm() override;
  LorvaneForm StoredForm() override;
  void RefreshForm() override;
  void SetFormText(FormText field, const std::string& value) override;
  void SetFormNumber(FormNumber field, int64_t value) override;
  void SetMatchCase(bool on) override;

  void SelectAllText(EditControl edit) override;
  void FocusEdit(EditControl edit) override;
  void ShowEdit(EditControl edit, bool shown) override;

  void ListClear(ListControl list) override;
  void ListAppend(ListControl list, const std::string& text) override;
  void ListAppendColoured(ListControl list, const std::string& text, Rgb colour) override;
  int64_t ListCount(ListControl list) override;
  std::string ListText(ListControl list, int64_t index) override;
  int64_t ListSelection(ListControl list) override;
  void ListSelect(ListControl list, int64_t index) override;
  bool ListSelectText(ListControl list, const std::string& text) override;
  void ListDelete(ListControl list, int64_t index) override;

  void ProgressSetRange(int64_t low, int64_t high) override;
  void ProgressSetStep(int64_t step) override;
  void ProgressStep() override;
  void ProgressSetPosition(int64_t position) override;

  void SliderShow() override;
  void SliderSetRange(int64_t low, int64_t high) override;
  void SliderSetTickFrequency(int64_t frequency) override;
  void SliderSetPosition(int64_t position) override;
  int64_t SliderPosition() override;

  void ShowSplash() override;
  void ShowTextDialog(const std::string& text) override;
  void Beep() override;
  void SetClipboardText(const std::string& text) override;
  std::string GetClipboardText() override;
  void OpenWithShell(const std::string& path) override;
  void OnSelectResultFile() override;
  void OnSelectResultLine() override;
  void StartWorker(Worker worker) override;
  bool AutoSearchMarked() override { return autoSearch_; }

  // What the controls show: typing goes here and is taken by ReadForm.
  LorvaneForm& Controls() { return controls_; }
  const LorvaneForm& Form() const { return form_; }
  const suite::ThreeLineStatusArea& Status() const { return status_; }
  const ListState& List(ListControl list) const { return lists_[static_cast<size_t>(list)]; }
  const Gauge& Progress() const { return progress_; }
  const Gauge& Slider() const { return slider_; }
  const EditState& Edit(EditControl edit) const { return edits_[static_cast<size_t>(edit)]; }
  bool ControlsEnabled() const { return controlsEnabled_; }
  bool AcceptsDrops() const { return acceptsDrops_; }
  EditControl Focus() const { return focus_; }
  int SplashCount() const { return splashCount_; }
  const std::vector<std::string>& DialogTexts() const { return dialogTexts_; }
  const std::vector<std::string>& OpenedPaths() const { return openedPaths_; }
  void SetAutoSearch(bool on) { autoSearch_ = on; }
  void SetClipboard(const std::string& text) { clipboard_ = text; }
  const std::string& Clipboard() const { return clipboard_; }

  // Workers asked for and not yet taken, oldest first.
  std::deque<Worker>& PendingWorkers() { return pendingWorkers_; }

 protected:
  // Every operation, as one line of text.
  virtual void Record(const std::string& call) { (void)call; }

 private:
  ListState& MutableList(ListControl list) { return lists_[static_cast<size_t>(list)]; }

  LorvaneForm form_;
  LorvaneForm controls_;
  suite::ThreeLineStatusArea status_;
  std::array<ListState, 3> lists_;
  std::array<EditState, 3> edits_;
  Gauge progress_;
  Gauge slider_;
  bool controlsEnabled_ = true;
  bool acceptsDrops_ = true;
  bool autoSearch_ = false;
  EditControl focus_ = EditControl::Keyword;
  int splashCount_ = 0;
  std::string clipboard_;
  std::vector<std::string> dialogTexts_;
  std::vector<std::string> openedPaths_;
  std::deque<Worker> pendingWorkers_;
};

const char* ToString(FormText field);
const char* ToString(FormNumber field);
const char* ToString(EditControl edit);
const char* ToString(ListControl list);
const char* ToString(Worker worker);

}  // namespace lorvane
