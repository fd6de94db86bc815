#include "searcher/history/result_load.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

#include "common/codepage.h"
#include "common/codepage_choice.h"
#include "common/directory_listing.h"
#include "common/held_directory.h"
#include "common/path_util.h"
#include "common/staged_files.h"
#include "common/tuning.h"
#include "searcher/engine/lorvane_window.h"
#include "searcher/engine/search_context.h"
#include "searcher/history/decimal_text.h"
#include "searcher/history/history_store.h"
#include "searcher/history/log_identity.h"
#include "searcher/history/result_check.h"
#include "searcher/history/result_files_check.h"

namespace lorvane {
namespace {

using suite::Cp;

// The numbers of the result files ("%06d.txt") in the directory, in order: a
// damaged or crafted result count never lists a name that isn't there, so the
// list never holds more names than the directory holds files, whatever the
// target (locked, shrunk or gone) looks like now.
std::vector<int64_t> ResultFileNumbers(const std::string& directory) {
  std::vector<int64_t> numbers;
  for (const suite::DirectoryEntry& entry : suite::ListDirectory(directory)) {
    const std::string_view name(entry.name);
    constexpr std::string_view kExtension = ".txt";
    if (name.size() < 6 + kExtension.size() || !name.ends_with(kExtension)) continue;
    const std::string_view digits = name.substr(0, name.size() - kExtension.size());
    if (digits.size() > 18 || digits.find_first_not_of("0123456789") != std::string_view::npos) continue;
    if (ResultFileName(ReadDecimal(digits)) != name) continue;  // no other spelling of a number
    numbers.push_back(ReadDecimal(digits));
  }
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

// True when `stored` (field 1) names `directory` too, spelled otherwise perhaps.
bool SameDirectory(const std::string& stored, const std::string& directory) {
  if (stored == directory) return true;
  const std::string resolved = suite::ResolvedPath(stored);
  return !resolved.empty() && directory == resolved;
}

}  // namespace

std::string HistoryDirectoryOf(const std::string& path) {
  std::string directory = suite::DirectoryOfPath(suite::FullPath(path));
  if (directory.empty()) directory = ".";
  if (std::string resolved = suite::ResolvedPath(directory); !resolved.empty()) return resolved;
  if (directory.size() > 1 && directory.back() == suite::kPathSeparator) directory.pop_back();
  return directory;
}

bool ResultLoad(LorvaneWindow& window, SearchContext& context, const std::string& path) {
  if (!suite::PathExists(path)) return false;
  // An update of the history that was cut short is finished, or undone,
  // first; one under way elsewhere (its holder's) is left to finish.
  const std::string directory = HistoryDirectoryOf(path);
  if (suite::HeldDirectory held; held.Hold(directory)) suite::SettleStagedFiles(directory, kDescriptorName);

  DescriptorContents descriptor;
  if (!ReadDescriptor(path, &descriptor)) {
    window.PostStatus(Cp("toResultLoad: 打开 result.lvn 文件失败! FileName[") + suite::PathText(path) + "]");
    return false;
  }
  const auto& f = descriptor.fields;
  window.SetFormText(FormText::FilePath, f[1]);

  // The search's directory is where its descriptor is, not what field 1 says:
  // a descriptor can't point the result files, and the files written for the
  // search, anywhere else.
  CLVNResultCheck check(CLVNResultHeader{directory, f[1], f[2], f[3], f[4], f[5], f[6]}, descriptor.index.HighestKey());
  if (!check.CheckHeader()) {
    window.PostStatus(Cp("toResultLoad: 恢复历史情境失败。原因[") + check.ErrorText() + "]");
    return false;
  }
  if (!check.CheckTargetSize()) {
    window.PostStatus(Cp("toResultLoad: 恢复历史情境警告。继续恢复。原因[") + check.WarningText() + "]");
  }

  if (!SameDirectory(f[0], directory)) {
    window.PostStatus(Cp("toResultLoad: 搜索结果目录[") + suite::PathText(f[0]) + Cp("]不是描述文件所在的目录，使用目录[") +
                      suite::PathText(directory) + "]");
  }

  const int64_t totalLines = ReadDecimal(f[5]);
  context.historyDirectory = directory;
  context.viewDirectory.clear();
  context.targetPath = f[1];
  context.keyword = f[2];
  const suite::CodePage codePage = ReadHistoryCodePage(directory);
  context.codePage = suite::CodePageChoice{codePage, suite::CodePageSettingOfProcess().forced.has_value()};
  context.totalLineCount = totalLines;
  context.quickIndex = std::move(descriptor.index);
  context.targetIdentity = ReadLogIdentity(directory);
  context.historyShown = true;

  // (the edit holds text of messages; the history keeps its target's bytes)
  window.SetFormText(FormText::Keyword, suite::Recode(codePage, suite::ActiveCodePage(), f[2]));
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

  // One name per started block of results, of the files that are there.
  const int64_t results = ReadDecimal(f[6]);
  const int64_t blocks = ResultFileCount(results);
  const std::vector<int64_t> present = ResultFileNumbers(directory);
  for (const int64_t number : present) {
    if (number >= blocks) break;
    window.ListAppend(ListControl::ResultFiles, ResultFileName(number));
  }
  // A power loss, or a hand, may have taken records the descriptor counts.
  if (const ResultFilesFaults faults = CheckResultFiles(directory, results, present); faults.Any()) {
    window.PostStatus(Cp("toResultLoad: 恢复历史情境警告。继续恢复。原因[") + ResultFilesFaultsText(faults) + "]");
  }

  // What the history knows of its log, against the log as it is now: the
  // results are restored whatever it is, its lines shown only from the log
  // that was searched.
  LogIdentity now;
  switch (context.targetIdentity ? CompareLog(*context.targetIdentity, f[1], &now) : LogChange::kSame) {
    case LogChange::kGrown:
      window.PostStatus(Cp("toResultLoad: 目标文件在搜索后增长了 ") + std::to_string(now.size - context.targetIdentity->stop.value) +
                        Cp(" 字节，新增的内容不在这个搜索历史中，继续搜索(F8)才包括它。"));
      break;
    case LogChange::kCut:
      window.PostStatus(Cp("toResultLoad: 恢复历史情境警告。继续恢复。原因[目标文件在搜索后被截短或改写，不显示它的行]"));
      break;
    case LogChange::kReplaced:
      window.PostStatus(Cp("toResultLoad: 恢复历史情境警告。继续恢复。原因[目标文件已被另一个文件替换，不显示它的行]"));
      break;
    case LogChange::kSame:
    case LogChange::kUnreadable:
      break;
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
