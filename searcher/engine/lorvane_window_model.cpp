#include "searcher/engine/lorvane_window_model.h"

#include <string>

namespace lorvane {
namespace {

std::string Num(int64_t value) { return std::to_string(value); }

}  // namespace

const char* ToString(FormText field) {
  static const char* const kNames[] = {"FilePath", "Keyword", "Size", "TotalLines", "ReadLines", "Results"};
  return kNames[static_cast<int>(field)];
}
const char* ToString(FormNumber field) {
  static const char* const kNames[] = {"StartLine", "Offset", "HalfPage", "CentreLine"};
  return kNames[static_cast<int>(field)];
}
const char* ToString(EditControl edit) {
  static const char* const kNames[] = {"FilePath", "Keyword", "HalfPage"};
  return kNames[static_cast<int>(edit)];
}
const char* ToString(ListControl list) {
  static const char* const kNames[] = {"ResultFiles", "Results", "VirtualPage"};
  return kNames[static_cast<int>(list)];
}
const char* ToString(Worker worker) {
  static const char* const kNames[] = {"QuickPreRead",  "Search",        "CenterVirtualPage",
                                       "LookAtContent", "LoadClipboard", "ContinueSearch"};
  return kNames[static_cast<int>(worker)];
}

void LorvaneWindowModel::PostStatus(const std::string& message) {
  Record("PostStatus(" + message + ")");
  status_.Post(suite::MakeStatusLine(message));
  controls_ = form_;
}

void LorvaneWindowModel::EnableControls(bool enable, bool progress) {
  Record("EnableControls(" + Num(enable) + "," + Num(progress) + ")");
  controlsEnabled_ = enable;
  acceptsDrops_ = enable;
  if (progress) progress_.shown = !enable;
}

void LorvaneWindowModel::ResetResultViews() {
  Record("ResetResultViews()");
  form_ = controls_;
  form_.readLinesText.clear();
  form_.resultsText.clear();
  for (auto& list : lists_) list = ListState{};
  controls_ = form_;
}

LorvaneForm LorvaneWindowModel::ReadForm() {
  Record("ReadForm()");
  form_ = controls_;
  return form_;
}

LorvaneForm LorvaneWindowModel::StoredForm() { return form_; }

void LorvaneWindowModel::RefreshForm() {
  Record("RefreshForm()");
  controls_ = form_;
}

void LorvaneWindowModel::SetFormText(FormText field, const std::string& value) {
  Record(std::string("SetFormText(") + ToString(field) + "," + value + ")");
  FieldOf(form_, field) = value;
}

void LorvaneWindowModel::SetFormNumber(FormNumber field, int64_t value) {
  Record(std::string("SetFormNumber(") + ToString(field) + "," + Num(value) + ")");
  FieldOf(form_, field) = value;
}

void LorvaneWindowModel::SetMatchCase(bool on) {
  Record("SetMatchCase(" + Num(on) + ")");
  form_.matchCase = on;
}

void LorvaneWindowModel::SelectAllText(EditControl edit) {
  Record(std::string("SelectAllText(") + ToString(edit) + ")");
  edits_[static_cast<size_t>(edit)].allSelected = true;
}

void LorvaneWindowModel::FocusEdit(EditControl edit) {
  Record(std::string("FocusEdit(") + ToString(edit) + ")");
  focus_ = edit;
}

void LorvaneWindowModel::ShowEdit(EditControl edit, bool shown) {
  Record(std::string("ShowEdit(") + ToString(edit) + "," + Num(shown) + ")");
  edits_[static_cast<size_t>(edit)].shown = shown;
}

void LorvaneWindowModel::ListClear(ListControl list) {
  Record(std::string("ListClear(") + ToString(list) + ")");
  MutableList(list) = ListState{};
}

void LorvaneWindowModel::ListAppend(ListControl list, const std::string& text) {
  Record(std::string("ListAppend(") + ToString(list) + "," + text + ")");
  MutableList(list).entries.push_back({text, Rgb{}});
}

void LorvaneWindowModel::ListAppendColoured(ListControl list, const std::string& text, Rgb colour) {
  Record(std::string("ListAppendColoured(") + ToString(list) + "," + text + "," + Num(colour.red) + "," +
         Num(colour.green) + "," + Num(colour.blue) + ")");
  MutableList(list).entries.push_back({text, colour});
}

int64_t LorvaneWindowModel::ListCount(ListControl list) {
  return static_cast<int64_t>(List(list).entries.size());
}

std::string LorvaneWindowModel::ListText(ListControl list, int64_t index) {
  const auto& entries = List(list).entries;
  if (index < 0 || index >= static_cast<int64_t>(entries.size())) return std::string();
  return entries[static_cast<size_t>(index)].text;
}

int64_t LorvaneWindowModel::ListSelection(ListControl list) { return List(list).selection; }

void LorvaneWindowModel::ListSelect(ListControl list, int64_t index) {
  Record(std::string("ListSelect(") + ToString(list) + "," + Num(index) + ")");
  auto& state = MutableList(list);
  state.selection = (index >= 0 && index < static_cast<int64_t>(state.entries.size())) ? index : -1;
}

bool LorvaneWindowModel::ListSelectText(ListControl list, const std::string& text) {
  Record(std::string("ListSelectText(") + ToString(list) + "," + text + ")");
  auto& state = MutableList(list);
  for (size_t i = 0; i < state.entries.size(); ++i) {
    if (state.entries[i].text == text) {
      state.selection = static_cast<int64_t>(i);
      return true;
    }
  }
  return false;
}

void LorvaneWindowModel::ListDelete(ListControl list, int64_t index) {
  Record(std::string("ListDelete(") + ToString(list) + "," + Num(index) + ")");
  auto& state = MutableList(list);
  if (index < 0 || index >= static_cast<int64_t>(state.entries.size())) return;
  state.entries.erase(state.entries.begin() + index);
  if (state.selection == index) state.selection = -1;
  else if (state.selection > index) --state.selection;
}

void LorvaneWindowModel::ProgressSetRange(int64_t low, int64_t high) {
  Record("ProgressSetRange(" + Num(low) + "," + Num(high) + ")");
  progress_.low = low;
  progress_.high = high;
}

void LorvaneWindowModel::ProgressSetStep(int64_t step) {
  Record("ProgressSetStep(" + Num(step) + ")");
  progress_.step = step;
}

void LorvaneWindowModel::ProgressStep() {
  Record("ProgressStep()");
  // Like a progress bar, stepping past the end wraps to the start.
  progress_.position += progress_.step;
  if (progress_.position > progress_.high) progress_.position = progress_.low;
}

void LorvaneWindowModel::ProgressSetPosition(int64_t position) {
  Record("ProgressSetPosition(" + Num(position) + ")");
  progress_.position = position;
}

void LorvaneWindowModel::SliderShow() {
  Record("SliderShow()");
  slider_.shown = true;
}

void LorvaneWindowModel::SliderSetRange(int64_t low, int64_t high) {
  Record("SliderSetRange(" + Num(low) + "," + Num(high) + ")");
  slider_.low = low;
  slider_.high = high;
}

void LorvaneWindowModel::SliderSetTickFrequency(int64_t frequency) {
  Record("SliderSetTickFrequency(" + Num(frequency) + ")");
  slider_.tickFrequency = frequency;
}

void LorvaneWindowModel::SliderSetPosition(int64_t position) {
  Record("SliderSetPosition(" + Num(position) + ")");
  slider_.position = position;
}

int64_t LorvaneWindowModel::SliderPosition() { return slider_.position; }

void LorvaneWindowModel::ShowSplash() {
  Record("ShowSplash()");
  ++splashCount_;
}

void LorvaneWindowModel::ShowTextDialog(const std::string& text) {
  Record("ShowTextDialog(" + text + ")");
  dialogTexts_.push_back(text);
}

void LorvaneWindowModel::Beep() { Record("Beep()"); }

void LorvaneWindowModel::SetClipboardText(const std::string& text) {
  Record("SetClipboardText(" + text + ")");
  clipboard_ = text;
}

std::string LorvaneWindowModel::GetClipboardText() { return clipboard_; }

void LorvaneWindowModel::OpenWithShell(const std::string& path) {
  Record("OpenWithShell(" + path + ")");
  openedPaths_.push_back(path);
}

void LorvaneWindowModel::OnSelectResultFile() { Record("OnSelectResultFile()"); }

void LorvaneWindowModel::OnSelectResultLine() { Record("OnSelectResultLine()"); }

void LorvaneWindowModel::StartWorker(Worker worker) {
  Record(std::string("StartWorker(") + ToString(worker) + ")");
  pendingWorkers_.push_back(worker);
}

}  // namespace lorvane
