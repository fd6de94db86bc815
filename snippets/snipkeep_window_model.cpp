#include "snippets/snipkeep_window_model.h"

#include "snippets/list_chooser.h"

namespace snipkeep {
namespace {

std::string Num(int64_t value) { return std::to_string(value); }

}  // namespace

const char* ToString(Box box) { return box == Box::SingleLine ? "SingleLine" : "MultiLine"; }

void SnipkeepWindowModel::SetTitle(const std::string& title) {
  Record("SetTitle(" + title + ")");
  title_ = title;
}

void SnipkeepWindowModel::PostStatus(const std::string& message) {
  Record("PostStatus(" + message + ")");
  status_.Post(suite::MakeStatusLine(message));
}

SnipkeepForm SnipkeepWindowModel::ReadForm() { return controls_; }

void SnipkeepWindowModel::SetFlag(Flag flag, bool on) {
  Record("SetFlag(" + Num(static_cast<int>(flag)) + "," + Num(on) + ")");
  controls_.flags[static_cast<size_t>(flag)] = on;
}

void SnipkeepWindowModel::SetBoxText(Box box, const std::string& text) {
  Record(std::string("SetBoxText(") + ToString(box) + "," + text + ")");
  controls_.Text(box) = text;
  boxes_[static_cast<size_t>(box)].caretAtEnd = false;
}

void SnipkeepWindowModel::EnableBox(Box box, bool enable) {
  Record(std::string("EnableBox(") + ToString(box) + "," + Num(enable) + ")");
  boxes_[static_cast<size_t>(box)].enabled = enable;
}

void SnipkeepWindowModel::FocusBox(Box box) {
  Record(std::string("FocusBox(") + ToString(box) + ")");
  focus_ = box;
}

void SnipkeepWindowModel::PlaceCaret(Box box, bool atEnd) {
  Record(std::string("PlaceCaret(") + ToString(box) + "," + (atEnd ? "end" : "start") + ")");
  boxes_[static_cast<size_t>(box)].caretAtEnd = atEnd;
}

void SnipkeepWindowModel::EnableCopyButton(CopyOperation button, bool enable) {
  Record("EnableCopyButton(" + Num(static_cast<int>(button)) + "," + Num(enable) + ")");
  copyButtons_[static_cast<size_t>(button) - 1] = enable;
}

void SnipkeepWindowModel::ListClear() {
  Record("ListClear()");
  entries_.clear();
}

void SnipkeepWindowModel::ListAppend(const std::string& text, Rgb colour) {
  Record("ListAppend(" + text + ")");
  entries_.push_back(ListEntry{text, colour});
}

void SnipkeepWindowModel::SetClipboardText(const std::string& text) {
  Record("SetClipboardText(" + text + ")");
  clipboard_ = text;
}

void SnipkeepWindowModel::RunListChooser(ListChooser& chooser) {
  Record("RunListChooser(" + chooser.CurrentListName() + ")");
  if (chooserScript_) chooserScript_(chooser);
}

}  // namespace snipkeep
