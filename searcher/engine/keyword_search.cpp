#include "searcher/engine/keyword_search.h"

#include <cinttypes>
#include <cstdio>

#include "common/codepage.h"
#include "common/codepage_choice.h"
#include "common/exclusive_file.h"
#include "common/held_directory.h"
#include "common/output_file.h"
#include "common/path_util.h"
#include "searcher/engine/count_text.h"
#include "searcher/engine/keyword_matcher.h"
#include "searcher/engine/line_search.h"
#include "searcher/engine/lorvane_window.h"
#include "searcher/engine/result_sink.h"
#include "searcher/engine/search_context.h"
#include "searcher/history/log_identity.h"
#include "searcher/history/result_descriptor.h"

namespace lorvane {
namespace {

using suite::Cp;

bool HasLineEnd(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }
// 0x08 separates the cells of a history row: in a keyword or a target name it
// would shift the row's columns.
bool HasRowSeparator(std::string_view text) { return text.find('\x08') != std::string_view::npos; }

// Why a keyword or target can't be searched although both are there: a
// keyword typed with characters the code page lacks would be searched as
// "?"; each stands on one line of the descriptor, so neither may hold a line
// end, and in a cell of the history's rows, so neither may hold 0x08.
std::string SearchInputProblem(const LorvaneForm& form) {
  if (!form.keywordFits) {
    return Cp("关键字含有代码页 ") + suite::CodePageName(suite::ActiveCodePage()) + Cp(" 不能表示的字符!");
  }
  if (HasLineEnd(form.keyword)) return Cp("关键字不能包含回车或换行符!");
  if (HasLineEnd(form.filePath)) return Cp("目标文件路径不能包含回车或换行符!");
  if (HasRowSeparator(form.keyword)) return Cp("关键字不能包含退格符(0x08)!");
  if (HasRowSeparator(form.filePath)) return Cp("目标文件路径不能包含退格符(0x08)!");
  return std::string();
}

}  // namespace

void OnBtnStartSearch(LorvaneWindow& window) {
  const LorvaneForm form = window.ReadForm();
  if (form.keyword.empty()) {
    window.SelectAllText(EditControl::Keyword);
    window.FocusEdit(EditControl::Keyword);
    window.PostStatus(Cp("OnBtnStartSearch: 关键字不能为空!"));
    return;
  }
  if (!suite::PathExists(form.filePath)) {
    window.SelectAllText(EditControl::Keyword);
    window.FocusEdit(EditControl::Keyword);
    window.PostStatus(Cp("OnBtnStartSearch: 目标文件不存在!") + suite::PathText(form.filePath));
    return;
  }
  if (const std::string problem = SearchInputProblem(form); !problem.empty()) {
    window.SelectAllText(EditControl::Keyword);
    window.FocusEdit(EditControl::Keyword);
    window.PostStatus("OnBtnStartSearch: " + problem);
    return;
  }
  window.StartWorker(Worker::Search);
}

int Search(LorvaneWindow& window, SearchContext& context, size_t windowSize) {
  const LorvaneForm form = window.StoredForm();
  const std::string target = form.filePath;
  const bool matchCase = form.matchCase;

  window.PostStatus("CLorvaneDlg::_thr_search()");
  // Also reached without the button, after the pre-read of a command line.
  if (const std::string problem = SearchInputProblem(form); !problem.empty()) {
    window.PostStatus(Cp("搜索失败: ") + problem);
    return -1;
  }
  context.targetPath = target;
  context.keyword = form.keyword;  // in the target's code page once it is open
  window.EnableControls(false, true);
  window.ResetResultViews();

  suite::ExclusiveFile file;
  if (!file.Open(target)) {
    // (a file removed since the pre-read is said to be gone, not held)
    window.PostStatus(file.LastOpenError() == suite::ExclusiveFile::OpenError::Missing
                          ? Cp("搜索失败: 目标文件不存在!")
                          : Cp("搜索失败: 打开目标文件失败! 可能由于其它程序正在写/独享目标文件。"));
    window.EnableControls(true, true);
    return -1;
  }
  // The keyword is searched in the target's code page, as its lines are.
  const suite::CodePageChoice codePage = suite::ChooseCodePage(file, suite::CodePageSettingOfProcess());
  const std::optional<std::string> recoded =
      suite::RecodeExactly(suite::ActiveCodePage(), codePage.codePage, form.keyword);
  if (!recoded) {
    window.PostStatus(Cp("搜索失败: 关键字含有目标文件的代码页 ") + suite::CodePageName(codePage.codePage) +
                      Cp(" 不能表示的字符!"));
    window.EnableControls(true, true);
    return -1;
  }
  const std::string& keyword = *recoded;
  context.keyword = keyword;
  context.codePage = codePage;

  context.workerDone = 0;
  window.ShowSplash();
  window.ProgressSetRange(0, context.quickIndex.Size());
  window.ProgressSetStep(1);
  MakeHistoryDirectory(context);
  // Held until the descriptor is written: the history browser doesn't delete
  // a running search's directory.
  suite::HeldDirectory held;
  held.Hold(context.historyDirectory);

  const KeywordMatcher matcher(keyword, matchCase, codePage.codePage);
  ResultSink sink(window, context.historyDirectory);
  // The search reads every line anyway, so it takes the quick index of the
  // file as it read it: a log that grew or changed since its pre-read still
  // leaves a descriptor whose index and line count agree.
  QuickIndex readIndex;
  const LineSearchResult searched =
      SearchLines(file, matcher, sink, suite::kQuickIndexStride, windowSize, &readIndex, &context.quickIndex);
  const bool finished = sink.Finish();
  // Result files deleted by hand or by another program meanwhile: the search
  // then holds less than it found, which is no success.
  std::string vanished;
  for (int64_t number = 0; finished && number < sink.files() && vanished.empty(); ++number) {
    const std::string path = context.historyDirectory + suite::kPathSeparator + ResultFileName(number);
    if (!suite::PathExists(path)) vanished = path;
  }

  if (sink.failure() != ResultSink::none || !finished || searched.readFailed || !vanished.empty()) {
    // The figures say what the files hold, and how far the search read.
    window.SetFormText(FormText::Results, FormatCountText(sink.results()));
    window.SetFormText(FormText::ReadLines, FormatReadLinesText(searched.linesRead.value));
    window.RefreshForm();
    context.workerDone = 1;
    if (sink.failure() != ResultSink::none) {
      window.PostStatus(Cp("搜索失败: ") + sink.FailureText());
    } else if (!vanished.empty()) {
      window.PostStatus(Cp("搜索失败: 搜索结果文件“") + suite::PathText(vanished) + Cp("”在搜索时被删除!"));
    } else if (searched.cut) {
      window.PostStatus(Cp("搜索失败: 目标文件在读取时被截短!"));
    } else {
      window.PostStatus(Cp("搜索失败: 读取目标文件时出错!"));
    }
    window.EnableControls(true, true);
    return -1;
  }

  const int64_t linesRead = searched.linesRead.value;
  context.quickIndex = std::move(readIndex);
  // What the history knows of its log, for a restore to tell whether it
  // changed since. A log cut right after the search gets none: its history
  // is then restored as one from before.
  LogIdentity identity;
  const bool measured = MeasureLogIdentity(file, searched.textEnd, searched.linesRead, &identity);
  context.targetIdentity.reset();
  if (measured) context.targetIdentity = identity;
  window.SetFormText(FormText::ReadLines, FormatReadLinesText(linesRead));
  window.RefreshForm();
  window.ProgressSetPosition(0);
  file.Close();

  if (sink.files() > 0) window.ListSelectText(ListControl::ResultFiles, ResultFileName(0));

  const std::string totalText = FormatCountText(linesRead);
  window.SetFormText(FormText::TotalLines, totalText);
  window.SetFormText(FormText::Results, FormatCountText(sink.results()));
  window.RefreshForm();

  char counts[256];
  std::snprintf(counts, sizeof counts, "%s %" PRId64 " %s %" PRId64 " %s", Cp("，其中").c_str(), sink.results(),
                Cp("行包含关键字，存于").c_str(), sink.files(), Cp("个结果文件中。").c_str());
  window.PostStatus(Cp("搜索完毕。目标文件") + totalText + counts);

  // The descriptor is written before the window is unlocked, so no pre-read or
  // restore can change the quick index while it is written.
  const CLVNResultHeader header{context.historyDirectory,
                                suite::FullPath(target),
                                keyword,
                                matchCase ? "Y" : "N",
                                window.StoredForm().sizeText,
                                std::to_string(linesRead),
                                std::to_string(sink.results())};
  // A search whose descriptor couldn't be written can't be restored: it is
  // shown, but it is not a success. Nor is one whose code page wasn't kept.
  bool written = toResultWrite(window, header, context.quickIndex);
  const auto keep = [&](const char* name, bool kept) {
    if (kept) return;
    window.PostStatus(Cp("toResultWrite: 写入搜索结果文件“") +
                      suite::PathText(context.historyDirectory + suite::kPathSeparator + name) +
                      Cp("”失败! 磁盘可能已满。"));
    written = false;
  };
  if (written) keep(kCodePageFileName, WriteHistoryCodePage(context.historyDirectory, codePage.codePage));
  if (written && measured) keep(kIdentityFileName, WriteLogIdentity(context.historyDirectory, identity));

  context.historyShown = written;
  window.EnableControls(true, true);
  context.workerDone = 1;
  return written ? 0 : -1;
}

}  // namespace lorvane
