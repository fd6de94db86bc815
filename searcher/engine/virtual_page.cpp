#include "searcher/engine/virtual_page.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <optional>

#include "common/codepage.h"
#include "common/exclusive_file.h"
#include "common/line_reader.h"
#include "common/output_file.h"
#include "common/path_util.h"
#include "common/stamped_directory.h"
#include "common/time_text.h"
#include "common/tuning.h"
#include "searcher/engine/keyword_search.h"
#include "searcher/engine/lorvane_window.h"
#include "searcher/engine/search_context.h"
#include "searcher/engine/target_seek.h"

namespace lorvane {
namespace {

using suite::Cp;

inline constexpr int64_t kMaxHalfPage = 1000;
inline constexpr int64_t kMaxStartLine = 999989999;
inline constexpr int64_t kMaxContentLines = 10000;

std::string Number(int64_t value) { return std::to_string(value); }

// Why a reader stopped before the end, beyond a read error, for the message.
std::string ReadProblem(const suite::LineReader& reader) {
  if (reader.Cut()) return Cp("目标文件在读取时被截短");
  if (reader.OutOfMemory()) return Cp("其中一行过长，内存不足");
  return std::string();
}

// False, after a message that starts with `failure`, when the search's log
// (or the restored history's) is no longer what the history knows of it: its
// quick index and line numbers would show lines that were never its.
bool IsTheSearchedLog(LorvaneWindow& window, const SearchContext& context, const std::string& target,
                      const std::string& failure) {
  if (!context.targetIdentity || target != context.targetPath) return true;
  switch (CompareLog(*context.targetIdentity, target)) {
    case LogChange::kCut:
      window.PostStatus(failure + Cp("目标文件 ") + suite::PathText(target) + Cp(" 在搜索后被截短或改写，不能显示它的行，请重新搜索!"));
      return false;
    case LogChange::kReplaced:
      window.PostStatus(failure + Cp("目标文件 ") + suite::PathText(target) + Cp(" 已被另一个文件替换，不能显示它的行，请重新搜索!"));
      return false;
    default:
      return true;
  }
}

}  // namespace

int CenterVirtualPage(LorvaneWindow& window, SearchContext& context) {
  const std::string target = context.targetPath;
  const suite::CodePage codePage = context.codePage.load().codePage;
  const std::string keyword = suite::FoldedAsciiCase(codePage, context.keyword);
  const LorvaneForm form = window.StoredForm();
  const int64_t centre = form.centreLine;
  // A typed half page is used unclamped below, but never above the limit
  // "使用该值" sets: a typed 3000000 would read six million lines into the list.
  const int64_t half = std::clamp<int64_t>(form.halfPage, 0, kMaxHalfPage);

  window.PostStatus("CLorvaneDlg::_thr_center_virtual_page()");
  window.EnableControls(false, false);

  suite::ExclusiveFile file;
  if (!file.Open(target)) {
    // (a log removed since its search is said to be gone, not held)
    window.PostStatus(file.LastOpenError() == suite::ExclusiveFile::OpenError::Missing
                          ? Cp("目标文件 ") + suite::PathText(target) + Cp(" 不存在!")
                          : Cp("打开目标文件 ") + suite::PathText(target) +
                                Cp(" 失败! 可能由于其它程序正在写/独享目标文件。"));
    window.EnableControls(true, false);
    return -1;
  }
  if (!IsTheSearchedLog(window, context, target, "")) {
    window.EnableControls(true, false);
    return -1;
  }
  window.ListClear(ListControl::VirtualPage);

  const int64_t first = centre - half, last = centre + half;
  // Entry k holds the offset of line k * 10000 + 1, so the block to start from
  // is that of the page's first line: (M - H) / 10000 would start a page at
  // line 10000 one block late and lose that line.
  const suite::BlockKey key = suite::BlockOfLine(suite::LineNumber{std::max<int64_t>(1, first)});
  int64_t counter = 0, start = 0;
  if (const std::optional<suite::ByteOffset> offset = SeekableEntry(context.quickIndex, key, file)) {
    window.PostStatus(Cp("找到快速索引 _mp[") + Number(key.value) + Cp("]，直接将文件指针定位在 ") + Number(offset->value));
    counter = suite::LinesBeforeBlock(key).value;
    start = offset->value;
  } else {
    window.PostStatus(Cp("未能发现快速索引 _mp[") + Number(key.value) + Cp("]，生成虚页面的时间与文件大小呈线性关系。"));
  }
  suite::LineReader reader(file, start);
  suite::TextLine line;
  int64_t shown = 0;
  for (;;) {
    const int64_t number = counter + 1;
    if (number > last) break;
    if (number < first) {  // passed over, never held
      if (!reader.Skip()) break;
      ++counter;
      continue;
    }
    if (!reader.Next(line)) break;
    ++counter;
    ++shown;
    const bool hasKeyword = suite::ContainsKeyword(codePage, suite::FoldedAsciiCase(codePage, line.text), keyword);
    const Rgb colour = !hasKeyword ? kPlainColour : number == centre ? kCentreKeywordColour : kKeywordColour;
    window.ListAppendColoured(ListControl::VirtualPage, TabsAsBlanks(line.text), colour);
  }
  file.Close();
  if (reader.Failed()) {
    const std::string problem = ReadProblem(reader);
    window.PostStatus(Cp("读取目标文件 ") + suite::PathText(target) + Cp(" 时出错! ") +
                      (problem.empty() ? "" : problem + Cp("，")) + Cp("虚页面不完整。"));
    window.EnableControls(true, false);
    return -1;
  }

  window.ListSelect(ListControl::VirtualPage, window.ListCount(ListControl::VirtualPage) - 1);
  window.ListSelect(ListControl::VirtualPage, centre > half ? half : centre - 1);
  window.PostStatus(Cp("从目标文件中成功读入 ") + Number(shown) + Cp(" 条原始记录。"));

  window.EnableControls(true, false);
  window.SliderSetPosition(centre);
  window.SetFormNumber(FormNumber::StartLine, centre);
  window.RefreshForm();
  return 0;
}

void OnBtnUseExtent(LorvaneWindow& window) {
  window.ShowEdit(EditControl::HalfPage, false);
  const LorvaneForm form = window.ReadForm();
  const int64_t half = std::clamp<int64_t>(form.halfPage, 1, kMaxHalfPage);
  window.SetFormNumber(FormNumber::HalfPage, half);
  window.RefreshForm();
  window.PostStatus(Cp("双击搜索结果表项时，显示该行所在的虚页面，虚页面是该行上下 ") + Number(half) + Cp(" 行。"));
  window.ListClear(ListControl::VirtualPage);
  window.Beep();
  window.ShowEdit(EditControl::HalfPage, true);
}

void OnBtnLookAtContent(LorvaneWindow& window, SearchContext& context) {
  const LorvaneForm form = window.ReadForm();
  int64_t start = std::clamp<int64_t>(form.startLine, 1, kMaxStartLine);
  window.SetFormNumber(FormNumber::StartLine, start);
  window.SetFormNumber(FormNumber::Offset, std::clamp<int64_t>(form.offset, 1, kMaxContentLines));

  const int64_t total = context.totalLineCount;
  if (total < 1) {
    window.PostStatus(Cp("查看内容: 失败! 因为目标文件为空。"));
    window.RefreshForm();
    return;
  }
  if (start > total) {
    window.PostStatus(Cp("查看内容: 失败! 因为启始行范围是从 1 到 ") + Number(total) + Cp("。"));
    window.SetFormNumber(FormNumber::StartLine, total);
    window.RefreshForm();
    return;
  }
  window.SliderSetPosition(start);
  window.RefreshForm();
  if (!suite::PathExists(form.filePath)) {
    window.PostStatus(Cp("查看内容: 失败! 因为目标文件不存在!"));
    return;
  }
  EnsureHistoryDirectory(context);
  window.StartWorker(Worker::LookAtContent);
}

int LookAtContent(LorvaneWindow& window, SearchContext& context) {
  const LorvaneForm form = window.StoredForm();
  const int64_t start = form.startLine, count = form.offset;
  const std::string target = form.filePath;
  const int64_t begin = start - 1;

  window.PostStatus("CLorvaneDlg::_thr_look_at_content()");
  window.EnableControls(false, false);

  suite::ExclusiveFile file;
  if (!file.Open(target)) {
    window.PostStatus(file.LastOpenError() == suite::ExclusiveFile::OpenError::Missing
                          ? Cp("查看内容: 失败! 因为目标文件不存在!")
                          : Cp("查看内容: 失败! 因为打开目标文件 ") + suite::PathText(target) +
                                Cp(" 失败! 可能由于其它程序正在写/独享目标文件。"));
    window.EnableControls(true, false);
    return -1;
  }
  if (!IsTheSearchedLog(window, context, target, Cp("查看内容: 失败! 因为"))) {
    window.EnableControls(true, false);
    return -1;
  }
  const suite::BlockKey key = suite::BlockAfter(suite::LineCount{begin});
  int64_t index = 0, offset = 0;
  if (const std::optional<suite::ByteOffset> entry = SeekableEntry(context.quickIndex, key, file)) {
    window.PostStatus(Cp("查看内容: 找到快速索引 _mp[") + Number(key.value) + Cp("]，直接将文件指针定位在 ") +
                      Number(entry->value));
    index = suite::LinesBeforeBlock(key).value;
    offset = entry->value;
  } else {
    window.PostStatus(Cp("查看内容: 异常! 未能发现快速索引 _mp[") + Number(key.value) +
                      Cp("]，生成虚页面的时间将与文件位置呈线性关系。"));
  }
  suite::LineReader reader(file, offset);
  suite::OutputFile view;
  const std::string viewDirectory = ViewFileDirectory(context);
  // Named when its first line comes; never one an earlier view of this second
  // wrote (its notepad may still show it): a taken name waits for the next second.
  std::string path;
  int64_t written = 0;
  bool writeFailed = false, createFailed = false;
  while (index < begin + count) {
    if (index < begin) {  // passed over, never held
      if (!reader.Skip()) break;
      ++index;
      continue;
    }
    // Written as it comes, however long the line: nothing holds it.
    const bool got = reader.NextInParts([&](std::string_view part, bool lastPart) {
      if (!view.IsOpen()) {
        path = suite::CreateFreshStampedFile(view, viewDirectory, "_virtual_page_", ".txt");
        if (!view.IsOpen()) {
          createFailed = true;
          return false;
        }
      }
      if (!view.Append(part) || (lastPart && !view.Append("\r\n"))) {
        writeFailed = true;
        return false;
      }
      return true;
    });
    if (createFailed) {
      window.PostStatus(Cp("查看内容: 失败! 不能创建虚页面临时文件“") + suite::PathText(path) + Cp("”!"));
      window.EnableControls(true, false);
      return -1;
    }
    if (!got) break;
    ++written;
    ++index;
  }
  file.Close();
  const bool made = view.IsOpen();
  if (made && !view.Close()) writeFailed = true;
  if (reader.Failed() && !writeFailed) {
    const std::string problem = ReadProblem(reader);
    window.PostStatus(Cp("查看内容: 失败! 因为读取目标文件 ") + suite::PathText(target) + Cp(" 时出错!") +
                      (problem.empty() ? "" : " " + problem + Cp("。")));
    window.EnableControls(true, false);
    return -1;
  }
  if (writeFailed) {
    window.PostStatus(Cp("查看内容: 失败! 写入虚页面临时文件“") + suite::PathText(path) + Cp("”失败! 磁盘可能已满。"));
    window.EnableControls(true, false);
    return -1;
  }
  window.PostStatus(Cp("查看内容: 成功! 从目标文件第 ") + Number(start) + Cp(" 行起，成功读入 ") + Number(written) +
                    Cp(" 条原始记录。"));
  window.EnableControls(true, false);
  if (made) window.OpenWithShell(path);
  return 0;
}

void EditVirtualPage(LorvaneWindow& window, SearchContext& context) {
  const int64_t entries = window.ListCount(ListControl::VirtualPage);
  if (entries == 0) return;
  window.EnableControls(false, false);
  const std::string path = ViewFileDirectory(context) + suite::kPathSeparator + "_vp" + suite::MakeTimeStamp() + ".txt";
  suite::OutputFile copy;
  if (!copy.Create(path)) {
    window.PostStatus(Cp("请重新搜索，因为不能创建虚页面临时文件“") + suite::PathText(path) + Cp("”!"));
    window.EnableControls(true, false);
    return;
  }
  std::string text;
  for (int64_t i = 0; i < entries; ++i) {
    const std::string entry = window.ListText(ListControl::VirtualPage, i);
    text += entry;
    text += "\r\n";
    copy.AppendLine(entry);
  }
  copy.Close();
  if (suite::PathExists(path)) {
    window.ShowTextDialog(text);
  } else {
    window.PostStatus(Cp("虚页面临时文件不存在! <") + suite::PathText(path) + ">");
  }
  window.EnableControls(true, false);
}

}  // namespace lorvane
