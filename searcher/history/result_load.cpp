#include "searcher/history/result_load.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "common/codepage.h"
#include "common/exclusive_file.h"
#include "common/line_reader.h"
#include "common/path_util.h"
#include "common/tuning.h"
#include "searcher/engine/lorvane_window.h"
#include "searcher/engine/search_context.h"
#include "searcher/history/decimal_text.h"
#include "searcher/history/result_check.h"

namespace lorvane {
namespace {

using suite::Cp;

struct Descriptor {
  std::array<std::string, 7> fields;
  QuickIndex index;
};

bool ReadDescriptor(const std::string& path, Descriptor& descriptor) {
  suite::ExclusiveFile file;
  if (!file.Open(path)) return false;
  suite::LineReader reader(file);
  suite::TextLine line;
  size_t number = 0;
  std::string text;
  while (reader.Next(line)) {
    text.assign(line.text);
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    if (number < descriptor.fields.size()) {
      descriptor.fields[number] = text;
    } else {
      int64_t key = 0, offset = 0;
      if (ParseQuickIndexLine(text, &key, &offset)) descriptor.index.Set(key, offset);
    }
    ++number;
  }
  return !reader.Failed();
}

// A descriptor's result count can't exceed the lines of its target, and a
// file of n bytes has at most n + 1 lines: so a damaged count never makes the
// result-file list endless.
int64_t ResultFileLimit(const std::string& targetPath) {
  suite::ExclusiveFile file;
  int64_t size = 0;
  if (file.Open(targetPath)) size = file.Size();
  return (size + 1 + suite::kResultFileRecords - 1) / suite::kResultFileRecords + 1;
}

}  // namespace

bool ResultLoad(LorvaneWindow& window, SearchContext& context, const std::string& path) {
  if (!suite::PathExists(path)) return false;

  Descriptor descriptor;
  if (!ReadDescriptor(path, descriptor)) {
    window.PostStatus(Cp("toResultLoad: 打开 result.lvn 文件失败! FileName[") + suite::PathText(path) + "]");
    return false;
  }
  const auto& f = descriptor.fields;
  window.SetFormText(FormText::FilePath, f[1]);

  CLVNResultCheck check(CLVNResultHeader{f[0], f[1], f[2], f[3], f[4], f[5], f[6]}, descriptor.index.HighestKey());
  if (!check.CheckHeader()) {
    window.PostStatus(Cp("toResultLoad: 恢复历史情境失败。原因[") + check.ErrorText() + "]");
    return false;
  }
  if (!check.CheckTargetSize()) {
    window.PostStatus(Cp("toResultLoad: 恢复历史情境警告。继续恢复。原因[") + check.WarningText() + "]");
  }

  const int64_t totalLines = ReadDecimal(f[5]);
  context.historyDirectory = f[0];
  context.targetPath = f[1];
  context.keyword = f[2];
  context.totalLineCount = totalLines;
  context.quickIndex = std::move(descriptor.index);

  window.SetFormText(FormText::Keyword, f[2]);
  window.SetMatchCase(f[3] == "Y");
  window.SetFormText(FormText::Size, f[4]);
  window.SetFormText(FormText::TotalLines, Cp("共 ") + f[5] + Cp(" 行"));
  window.SetFormText(FormText::ReadLines, Cp("读入 ") + f[5] + Cp(" 行"));
  window.SetFormText(FormText::Results, Cp("共 ") + f[6] + Cp(" 行"));
  window.RefreshForm();

  window.SelectAllText(EditControl::FilePath);
  window.SelectAllText(EditControl::Keyword);
  window.FocusEdit(EditControl::Keyword);

  window.SliderShow();
  window.SliderSetRange(1, totalLines);
  window.SliderSetTickFrequency(1);
  window.SliderSetPosition(1);

  window.ListClear(ListControl::ResultFiles);
  window.ListClear(ListControl::Results);
  window.ListClear(ListControl::VirtualPage);
  window.SetFormNumber(FormNumber::StartLine, 1);

  const int64_t limit = ResultFileLimit(f[1]);
  int64_t fileNumber = 0;
  for (int64_t left = ReadDecimal(f[6]); left > 0 && fileNumber < limit; left -= suite::kResultFileRecords) {
    char name[32];
    std::snprintf(name, sizeof name, "%06lld.txt", static_cast<long long>(fileNumber++));
    window.ListAppend(ListControl::ResultFiles, name);
  }

  window.ListSelectText(ListControl::ResultFiles, "000000.txt");
  window.OnSelectResultFile();
  if (window.ListCount(ListControl::Results) > 0) {
    window.ListSelectText(ListControl::Results, window.ListText(ListControl::Results, 0));
    window.OnSelectResultLine();
  }
  window.PostStatus(Cp("toResultLoad: 成功载入一个 result.lvn 搜索历史文件。"));
  return true;
}

}  // namespace lorvane
