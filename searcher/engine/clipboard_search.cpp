#include "searcher/engine/clipboard_search.h"

#include <algorithm>
#include <cstring>

#include "common/codepage.h"
#include "common/file_moves.h"
#include "common/output_file.h"
#include "common/path_util.h"
#include "common/stamped_directory.h"
#include "common/tuning.h"
#include "searcher/engine/auto_load.h"
#include "searcher/engine/lorvane_window.h"
#include "searcher/engine/search_context.h"

namespace lorvane {

using suite::Cp;

std::string ClipboardText(std::string_view raw) {
  const size_t nul = raw.find('\0');
  return std::string(raw.substr(0, std::min({nul, raw.size(), suite::kClipboardTextLimit})));
}

int LoadClipboard(LorvaneWindow& window, SearchContext& context) {
  window.EnableControls(false, false);
  context.workerDone = 0;
  window.ShowSplash();

  const std::string text = ClipboardText(window.GetClipboardText());
  if (text.empty()) {
    context.workerDone = 1;
    window.EnableControls(true, false);
    return -1;
  }
  suite::MakeDirectory(context.clipboardDirectory);
  suite::OutputFile file;
  const std::string path = suite::CreateFreshStampedFile(file, context.clipboardDirectory, "cp_", ".txt");
  if (!file.IsOpen()) {
    context.workerDone = 1;
    window.PostStatus(Cp("不能创建剪贴板文本临时文件“") + suite::PathText(path) + Cp("”!"));
    window.EnableControls(true, false);
    return -1;
  }
  file.Append(text);
  if (!file.Close()) {
    suite::RemoveFile(path);
    context.workerDone = 1;
    window.PostStatus(Cp("不能写入剪贴板文本临时文件“") + suite::PathText(path) + Cp("”! 磁盘可能已满。"));
    window.EnableControls(true, false);
    return -1;
  }
  window.EnableControls(true, false);
  context.workerDone = 1;
  AutoLoadFile(window, path);
  return 0;
}

}  // namespace lorvane
