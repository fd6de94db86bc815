#include "searcher/engine/auto_load.h"

#include "common/codepage.h"
#include "common/path_util.h"
#include "searcher/engine/lorvane_window.h"

namespace lorvane {
namespace {

void Announce(LorvaneWindow& window, const std::string& path, const std::string& keyword, bool matchCase) {
  window.PostStatus("AutoLoad: FilePath[" + suite::PathText(path) + "]");
  window.PostStatus("AutoSearch: KeyWord[" + keyword + "], MatchCase[" + (matchCase ? "Yes" : "No") + "]");
}

void SelectAndStart(LorvaneWindow& window, const std::string& path) {
  window.SelectAllText(EditControl::FilePath);
  window.SelectAllText(EditControl::Keyword);
  window.FocusEdit(EditControl::Keyword);
  if (suite::PathExists(path)) window.StartWorker(Worker::QuickPreRead);
}

}  // namespace

void AutoLoad(LorvaneWindow& window, const std::string& path, const std::string& keyword, bool matchCase) {
  Announce(window, path, keyword, matchCase);
  window.SetFormText(FormText::FilePath, path);
  window.SetFormText(FormText::Keyword, keyword);
  window.SetMatchCase(matchCase);
  SelectAndStart(window, path);
}

void AutoLoadFile(LorvaneWindow& window, const std::string& path) {
  const LorvaneForm form = window.StoredForm();
  Announce(window, path, form.keyword, form.matchCase);
  window.SetFormText(FormText::FilePath, path);
  SelectAndStart(window, path);
}

}  // namespace lorvane
