#include "splitter/cleavora_window_model.h"

namespace cleavora {

CleavoraWindowModel::CleavoraWindowModel()
    : linesPerPiece_(CleavoraForm{}.linesPerPiece), fields_(FieldsOfForm(CleavoraForm{})) {}

CleavoraForm CleavoraWindowModel::Form() const {
  return {filePath_, statusText_, linesPerPiece_.load(std::memory_order_relaxed)};
}

std::string CleavoraWindowModel::FilePath() { return filePath_; }

int64_t CleavoraWindowModel::LinesPerPiece() { return linesPerPiece_.load(std::memory_order_relaxed); }

void CleavoraWindowModel::SetFilePath(const std::string& path) {
  Record("SetFilePath(" + path + ")");
  filePath_ = path;
}

void CleavoraWindowModel::SetLinesPerPiece(int64_t lines) {
  Record("SetLinesPerPiece(" + std::to_string(lines) + ")");
  linesPerPiece_.store(lines, std::memory_order_relaxed);
}

void CleavoraWindowModel::SetStatusText(const std::string& text) {
  Record("SetStatusText(" + text + ")");
  statusText_ = text;
}

bool CleavoraWindowModel::ReadForm() {
  Record("ReadForm()");
  CleavoraForm form = Form();
  const std::string message = ReadFormFields(fields_, form);
  filePath_ = form.filePath;
  statusText_ = form.statusText;
  linesPerPiece_.store(form.linesPerPiece, std::memory_order_relaxed);
  if (message.empty()) return true;
  ReportValidation(message);
  return false;
}

void CleavoraWindowModel::ReadPathField() {
  Record("ReadPathField()");
  filePath_ = fields_.filePath;
}

void CleavoraWindowModel::ShowForm() {
  Record("ShowForm()");
  fields_ = FieldsOfForm(Form());
}

void CleavoraWindowModel::ShowStatusLine(const std::string& text) {
  Record("ShowStatusLine(" + text + ")");
  fields_.statusText = text;
}

void CleavoraWindowModel::EnableInput(bool enable) {
  Record(std::string("EnableInput(") + (enable ? "1" : "0") + ")");
  inputEnabled_ = enable;
}

bool CleavoraWindowModel::InputEnabled() { return inputEnabled_; }

void CleavoraWindowModel::SetTitle(const std::string& title) {
  Record("SetTitle(" + title + ")");
  title_ = title;
}

void CleavoraWindowModel::FocusPathField(PathSelection selection) {
  Record(std::string("FocusPathField(") + (selection == PathSelection::All ? "All" : "None") + ")");
  pathFocused_ = true;
  pathSelection_ = selection;
}

std::optional<std::string> CleavoraWindowModel::ChooseFile(const FileChooserRequest& request) {
  Record("ChooseFile(" + request.title + ")");
  chooserRequests_.push_back(request);
  return chooserAnswer_;
}

void CleavoraWindowModel::StartSplitWorker() {
  Record("StartSplitWorker()");
  ++workersStarted_;
}

}  // namespace cleavora
