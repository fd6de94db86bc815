#include "searcher/engine/result_paging.h"

#include "common/codepage.h"
#include "common/exclusive_file.h"
#include "common/line_reader.h"
#include "common/path_util.h"
#include "searcher/engine/keyword_search.h"
#include "searcher/engine/lorvane_window.h"
#include "searcher/engine/search_context.h"

namespace lorvane {
namespace {

using suite::Cp;

// "0000000003|0000004711| text": the text starts at 0-based position 23, the
// line-number field at 11.
constexpr size_t kRecordTextStart = 23;
constexpr size_t kLineNumberStart = 11;

void ClearAllLists(LorvaneWindow& window) {
  window.ListClear(ListControl::ResultFiles);
  window.ListClear(ListControl::Results);
  window.ListClear(ListControl::VirtualPage);
}

}  // namespace

int64_t RecordLineNumber(const std::string& record) {
  int64_t number = 0;
  for (size_t i = kLineNumberStart; i < record.size() && record[i] >= '0' && record[i] <= '9'; ++i) {
    if (number > (INT64_MAX - 9) / 10) break;
    number = number * 10 + (record[i] - '0');
  }
  return number;
}

std::string RecordText(const std::string& record) {
  return record.size() > kRecordTextStart ? record.substr(kRecordTextStart) : std::string();
}

void SelectResultFile(LorvaneWindow& window, SearchContext& context) {
  window.ReadForm();
  const int64_t selected = window.ListSelection(ListControl::ResultFiles);
  if (selected < 0) return;
  const std::string name = window.ListText(ListControl::ResultFiles, selected);
  if (name.empty()) return;
  const std::string path = context.historyDirectory + suite::kPathSeparator + name;

  if (suite::PathExists(path)) {
    suite::ExclusiveFile file;
    if (!file.OpenShared(path)) {
      window.PostStatus(Cp("打开搜索结果文件 ") + name + Cp(" 失败! 可能由于其它程序正在写/独享目标文件。"));
      return;
    }
    window.ListClear(ListControl::Results);
    window.ListClear(ListControl::VirtualPage);
    suite::LineReader reader(file);
    suite::TextLine line;
    int64_t count = 0;
    while (reader.Next(line)) {
      ++count;
      window.ListAppend(ListControl::Results, TabsAsBlanks(line.text));
    }
    file.Close();
    window.PostStatus(Cp("打开搜索结果文件 ") + name + Cp(" 成功! 读入 ") + std::to_string(count) +
                      Cp(" 条搜索结果记录。"));
    return;
  }
  window.ListClear(ListControl::Results);
  window.ListClear(ListControl::VirtualPage);
  if (suite::PathExists(context.historyDirectory)) {
    window.ListDelete(ListControl::ResultFiles, selected);
    window.PostStatus(Cp("搜索结果文件 ") + name + Cp(" 不存在! 清空搜索结果列表，删除结果文件列表当前表项。"));
  } else {
    window.ListClear(ListControl::ResultFiles);
    window.PostStatus(Cp("临时目录 ") + suite::PathText(context.historyDirectory) + Cp(" 不存在! 清空所有列表。"));
  }
}

void SelectResultLine(LorvaneWindow& window, SearchContext& context) {
  window.ReadForm();
  const int64_t selected = window.ListSelection(ListControl::Results);
  if (selected < 0) return;
  const std::string record = window.ListText(ListControl::Results, selected);
  if (record.empty()) return;
  window.SetClipboardText(RecordText(record));
  window.SetFormNumber(FormNumber::CentreLine, RecordLineNumber(record));
  if (suite::PathExists(context.targetPath)) {
    window.StartWorker(Worker::CenterVirtualPage);
    return;
  }
  ClearAllLists(window);
  window.PostStatus(Cp("目标文件 ") + suite::PathText(context.targetPath) + Cp(" 不存在! 清空所有列表。"));
}

void ReadResultPage(LorvaneWindow& window) {
  const int64_t entries = window.ListCount(ListControl::Results);
  if (entries == 0) return;
  std::string text;
  for (int64_t i = 0; i < entries; ++i) {
    text += RecordText(window.ListText(ListControl::Results, i));
    text += "\r\n";
  }
  window.ShowTextDialog(text);
}

}  // namespace lorvane
