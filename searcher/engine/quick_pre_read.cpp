#include "searcher/engine/quick_pre_read.h"

#include <cinttypes>
#include <cstdio>

#include "common/codepage.h"
#include "common/codepage_choice.h"
#include "common/exclusive_file.h"
#include "common/line_scanner.h"
#include "common/size_text.h"
#include "searcher/engine/count_text.h"
#include "searcher/engine/lorvane_window.h"
#include "searcher/engine/search_context.h"

namespace lorvane {

using suite::Cp;

int QuickPreRead(LorvaneWindow& window, SearchContext& context, size_t windowSize) {
  const std::string target = window.StoredForm().filePath;
  window.PostStatus("CLorvaneDlg::_thr_quick_analyze_object_file()");
  window.EnableControls(false, true);
  window.ResetResultViews();

  suite::ExclusiveFile file;
  if (!file.Open(target)) {
    // A file that isn't there is said so: "held by another program" would send
    // the user looking for a program that doesn't exist.
    window.PostStatus(file.LastOpenError() == suite::ExclusiveFile::OpenError::Missing
                          ? Cp("预读失败: 目标文件不存在!")
                          : Cp("预读失败: 打开目标文件失败! 可能由于其它程序正在写/独享目标文件。"));
    window.EnableControls(true, true);
    return -1;
  }

  context.workerDone = 0;
  window.ShowSplash();

  // Put in force with the index: a failed read leaves the old target's.
  const suite::CodePageChoice codePage = suite::ChooseCodePage(file, suite::CodePageSettingOfProcess());
  const int64_t size = file.Size();
  window.SetFormText(FormText::Size, suite::FormatSizeText(size));
  window.RefreshForm();

  // The bar assumes 64 bytes a line and steps once per 10000 lines.
  window.ProgressSetRange(0, size / 64 / suite::kQuickIndexStride);
  window.ProgressSetStep(1);

  // Built aside and put in force whole, so a failed read leaves the old index.
  QuickIndex index;
  const std::string entryMessage = Cp("快速预读: 正在创建快速索引 ");
  const suite::LineScanResult scan = suite::ScanLineStarts(
      file, suite::kQuickIndexStride,
      [&](suite::LineCount linesBefore, suite::ByteOffset offset) {
        const suite::BlockKey key = suite::BlockAfter(linesBefore);
        window.ProgressStep();
        index.Set(key, offset);
        char numbers[96];
        std::snprintf(numbers, sizeof numbers, "_mp[%" PRId64 "] = %" PRId64, key.value, offset.value);
        window.PostStatus(entryMessage + numbers);
      },
      0, windowSize);
  file.Close();

  if (scan.readFailed) {
    window.ProgressSetPosition(0);
    window.PostStatus(scan.cut ? Cp("预读失败: 目标文件在读取时被截短! 快速索引保持不变。")
                               : Cp("预读失败: 读取目标文件时出错! 快速索引保持不变。"));
    window.EnableControls(true, true);
    context.workerDone = 1;
    return -1;
  }

  const int64_t lines = scan.lines;
  context.quickIndex = std::move(index);
  context.targetIdentity.reset();
  context.historyShown = false;
  context.totalLineCount = lines;
  context.codePage = codePage;

  window.ProgressSetPosition(0);
  const std::string countText = FormatCountText(lines);
  window.SetFormText(FormText::TotalLines, countText);
  window.RefreshForm();
  window.EnableControls(true, true);
  window.PostStatus(Cp("目标文件的") + suite::CodePageChoiceText(codePage) + Cp("。"));
  window.PostStatus(Cp("预读完毕。目标文件") + countText + Cp("。"));

  window.SelectAllText(EditControl::Keyword);
  window.FocusEdit(EditControl::Keyword);

  window.SliderShow();
  window.SliderSetRange(1, lines);
  window.SliderSetTickFrequency(1);
  window.SliderSetPosition(1);

  if (window.AutoSearchMarked()) window.StartWorker(Worker::Search);

  context.workerDone = 1;
  return 0;
}

}  // namespace lorvane
