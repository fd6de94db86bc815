#include "searcher/engine/search_update.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "common/codepage.h"
#include "common/codepage_choice.h"
#include "common/exclusive_file.h"
#include "common/held_directory.h"
#include "common/path_util.h"
#include "common/size_text.h"
#include "common/staged_files.h"
#include "common/text_model.h"
#include "searcher/engine/count_text.h"
#include "searcher/engine/keyword_matcher.h"
#include "searcher/engine/line_search.h"
#include "searcher/engine/lorvane_window.h"
#include "searcher/engine/result_sink.h"
#include "searcher/engine/search_context.h"
#include "searcher/history/decimal_text.h"
#include "searcher/history/log_identity.h"
#include "searcher/history/result_check.h"
#include "searcher/history/result_descriptor.h"
#include "searcher/history/result_files_check.h"

namespace lorvane {
namespace {

using suite::Cp;

// The offset after the last LF before `end` in `file`, 0 when there is none;
// -1 when the file can't be read there. Read back a block on the stack at a
// time: the line is mostly short, and fresh memory costs an update more than
// a read.
int64_t StartOfLineBefore(suite::ExclusiveFile& file, int64_t end) {
  char block[16 << 10];
  while (end > 0) {
    const int64_t begin = std::max<int64_t>(0, end - static_cast<int64_t>(sizeof block));
    const auto length = static_cast<size_t>(end - begin);
    if (file.ReadAt(block, length, begin) != length) return -1;
    if (const char* lf = suite::FindLastNewline(block, length)) return begin + (lf - block) + 1;
    end = begin;
  }
  return 0;
}

// The last record of a result file: where it starts, its number and its
// line's number; false when the file doesn't end in a whole record.
struct LastRecord {
  int64_t fileSize = 0;
  int64_t start = 0;
  int64_t number = -1;
  int64_t line = -1;
};
bool ReadLastRecord(const std::string& path, LastRecord* last) {
  suite::ExclusiveFile file;
  char tail[2];
  if (!file.OpenShared(path) || file.Size() < 2 || file.ReadAt(tail, 2, file.Size() - 2) != 2 || tail[0] != '\r' ||
      tail[1] != '\n') {
    return false;
  }
  last->fileSize = file.Size();
  last->start = StartOfLineBefore(file, file.Size() - 1);
  char head[48];
  const size_t got = last->start < 0 ? 0 : file.ReadAt(head, sizeof head, last->start);
  const std::string_view record(head, got);
  last->number = RecordNumber(record);
  const size_t bar = record.find('|');
  last->line = bar == std::string_view::npos ? -1 : RecordNumber(record.substr(bar + 1));
  return last->number >= 1 && last->line >= 1;
}

}  // namespace

int64_t WholeLineResults(const std::string& directory, int64_t results, const LogIdentity& identity) {
  if (identity.lastLineEnded || results == 0) return results;
  LastRecord last;
  return ReadLastRecord(ResultFilePath(directory, results), &last) && last.line == identity.lines.value ? results - 1 : results;
}

namespace {

// Where the search goes on from, and what it keeps of the results.
struct GoOnPoint {
  SearchStart start;
  ResultsSoFar soFar;
};

// The last line is searched again when it had no LF: it may have been
// completed since. Its record, when it was a result, is taken off. False
// (after saying why) when the history's last result file isn't whole.
bool FindGoOnPoint(LorvaneWindow& window, suite::ExclusiveFile& log, const std::string& directory,
                   const LogIdentity& identity, int64_t results, GoOnPoint* point) {
  point->start = SearchStart{identity.stop, identity.lines};
  if (!identity.lastLineEnded && identity.lines.value > 0) {
    const int64_t lineStart = StartOfLineBefore(log, identity.stop.value);
    if (lineStart < 0) {
      window.PostStatus(Cp("继续搜索失败: 读取目标文件时出错!"));
      return false;
    }
    point->start = SearchStart{suite::ByteOffset{lineStart}, suite::LineCount{identity.lines.value - 1}};
  }
  point->soFar.results = results;
  if (results == 0) return true;
  const std::string path = ResultFilePath(directory, results);
  LastRecord last;
  if (!ReadLastRecord(path, &last) || last.number != results || last.line > identity.lines.value) {
    window.PostStatus(Cp("继续搜索失败: 搜索结果文件“") + suite::PathText(path) + Cp("”不完整，请重新搜索!"));
    return false;
  }
  int64_t keptBytes = last.fileSize;
  if (last.line > point->start.linesBefore.value) {  // the line searched again
    point->soFar.results = results - 1;
    point->soFar.lastTakenOff = true;
    keptBytes = last.start;
  }
  if (point->soFar.results % suite::kResultFileRecords != 0) {
    point->soFar.keptFrom = path;
    point->soFar.keptBytes = keptBytes;
  }
  return true;
}

// The messages of a log that is no longer the one the history searched.
std::string ChangeProblem(LogChange change) {
  switch (change) {
    case LogChange::kCut: return Cp("目标文件在搜索后被截短或改写，请重新搜索!");
    case LogChange::kReplaced: return Cp("目标文件已被另一个文件替换，请重新搜索!");
    default: return std::string();
  }
}

// What a search failure is said as, the same as a fresh search's.
std::string SinkProblem(const ResultSink& sink, const LineSearchResult& searched) {
  if (sink.failure() != ResultSink::none) return sink.FailureText();
  return searched.cut ? Cp("目标文件在读取时被截短!") : Cp("读取目标文件时出错!");
}

// The window's figures and lists after the history grew from `oldResults`.
void ShowGrownHistory(LorvaneWindow& window, const SearchContext& context, const std::string& sizeText,
                      int64_t oldResults, int64_t results) {
  const int64_t lines = context.totalLineCount;
  window.SetFormText(FormText::Size, sizeText);
  window.SetFormText(FormText::TotalLines, FormatCountText(lines));
  window.SetFormText(FormText::ReadLines, FormatReadLinesText(lines));
  window.SetFormText(FormText::Results, FormatCountText(results));
  window.RefreshForm();
  window.SliderSetRange(1, lines);
  for (int64_t number = ResultFileCount(oldResults); number < ResultFileCount(results); ++number) {
    window.ListAppend(ListControl::ResultFiles, ResultFileName(number));
  }
  // The result file shown may have grown: it is read again.
  const int64_t shown = window.ListSelection(ListControl::ResultFiles);
  if (shown >= 0 && shown >= ResultFileCount(oldResults) - 1) {
    window.ListSelect(ListControl::ResultFiles, shown);
    window.OnSelectResultFile();
  } else if (shown < 0 && oldResults == 0 && results > 0) {
    window.ListSelectText(ListControl::ResultFiles, ResultFileName(0));
    window.OnSelectResultFile();
  }
}

// The worker's body once the history is held and read.
int GoOn(LorvaneWindow& window, SearchContext& context, const DescriptorContents& descriptor,
         const std::string& directory, ContinuedSearch* continued, size_t windowSize, suite::ExclusiveFile* openLog) {
  const auto fail = [&](const std::string& problem) {
    window.PostStatus(Cp("继续搜索失败: ") + problem);
    return -1;
  };
  const CLVNResultHeader header = HeaderOf(descriptor);
  const std::optional<LogIdentity> kept = ReadLogIdentity(directory);
  if (!kept) return fail(Cp("这个搜索历史没有记下它的目标文件是哪个文件(它来自旧版本，或目标文件在搜索时被改动)，请重新搜索!"));

  suite::ExclusiveFile ownLog;
  suite::ExclusiveFile& log = openLog ? *openLog : ownLog;
  if (!openLog && !ownLog.Open(header.targetPath)) {
    return fail(ownLog.LastOpenError() == suite::ExclusiveFile::OpenError::Missing
                    ? Cp("目标文件不存在!")
                    : Cp("打开目标文件失败! 可能由于其它程序正在写/独享目标文件。"));
  }
  LogIdentity now;
  const LogChange change = CompareLog(*kept, log, &now);
  const int64_t results = ReadDecimal(header.resultLines);
  if (continued) {
    *continued = ContinuedSearch{false, change, 0, results, WholeLineResults(directory, results, *kept), kept->lines,
                                 kept->lastLineEnded};
  }
  if (const std::string problem = ChangeProblem(change); !problem.empty()) return fail(problem);
  if (change != LogChange::kGrown) {
    window.PostStatus(Cp("继续搜索完毕。目标文件在搜索后没有新增内容。"));
    return 0;
  }
  // A fresh search would read the grown log in the code page found now.
  const suite::CodePage codePage = ReadHistoryCodePage(directory);
  const suite::CodePageChoice choice = suite::ChooseCodePage(log, suite::CodePageSettingOfProcess());
  if (choice.codePage != codePage) {
    return fail(Cp("目标文件的代码页已从 ") + suite::CodePageName(codePage) + Cp(" 变为 ") +
                suite::CodePageName(choice.codePage) + Cp("，请重新搜索!"));
  }

  GoOnPoint point;
  if (!FindGoOnPoint(window, log, directory, *kept, results, &point)) return -1;
  window.ProgressSetRange(0, std::max<int64_t>(1, (now.size - point.start.offset.value) / 64 / suite::kQuickIndexStride));
  window.ProgressSetStep(1);
  const KeywordMatcher matcher(header.keyword, header.matchCase == "Y", codePage);
  ResultSink sink(window, directory, point.soFar);
  QuickIndex index = descriptor.index;
  const LineSearchResult searched = SearchLines(log, matcher, sink, suite::kQuickIndexStride, windowSize, &index,
                                                nullptr, suite::ScanWorkers(), point.start);
  const bool finished = sink.Finish();
  LogIdentity grown;
  const bool measured = finished && !searched.readFailed && sink.failure() == ResultSink::none &&
                        MeasureLogIdentity(log, searched.textEnd, searched.linesRead, &grown);
  const std::string sizeText = suite::FormatSizeText(log.Size());
  ownLog.Close();
  // Nothing is put in place unless all of it reached the disk.
  bool staged = measured;
  for (const std::string& path : sink.written()) staged = staged && suite::SyncFile(path);
  CLVNResultHeader grownHeader = header;
  grownHeader.historyDirectory = directory;
  grownHeader.targetSize = sizeText;
  grownHeader.totalLines = std::to_string(searched.linesRead.value);
  grownHeader.resultLines = std::to_string(sink.results());
  staged = staged && WriteLogIdentity(directory, grown, true);
  if (!staged) {
    suite::SettleStagedFiles(directory, kDescriptorName);  // no marker: they go
    if (!measured) return fail(SinkProblem(sink, searched));
    return fail(Cp("写入搜索结果文件“") + suite::PathText(sink.written().empty() ? directory : sink.written().back()) +
                Cp("”失败! 磁盘可能已满。"));
  }
  // The staged descriptor decides the update; putting it in place ends it.
  if (!toResultWrite(window, grownHeader, index, true)) {
    suite::SettleStagedFiles(directory, kDescriptorName);
    return -1;
  }
  if (!suite::SettleStagedFiles(directory, kDescriptorName)) {
    return fail(Cp("不能把更新放入搜索历史目录“") + suite::PathText(directory) +
                Cp("”! 下次恢复或继续搜索时再放入。"));
  }

  context.quickIndex = std::move(index);
  context.totalLineCount = searched.linesRead.value;
  context.targetIdentity = grown;
  if (continued) {
    const int64_t first = point.soFar.results + 1;
    *continued = ContinuedSearch{true, change, first <= sink.results() ? first : 0, sink.results(),
                                 WholeLineResults(directory, sink.results(), grown), searched.linesRead,
                                 grown.lastLineEnded};
  }
  char counts[256];
  std::snprintf(counts, sizeof counts, "%s %" PRId64 " %s %" PRId64 " %s %" PRId64 " %s",
                Cp("，新增").c_str(), now.size - kept->stop.value, Cp("字节；其中").c_str(), sink.results(),
                Cp("行包含关键字，存于").c_str(), sink.files(), Cp("个结果文件中。").c_str());
  window.PostStatus(Cp("继续搜索完毕。目标文件") + FormatCountText(searched.linesRead.value) + counts);
  ShowGrownHistory(window, context, sizeText, results, sink.results());
  return 0;
}

}  // namespace

void OnContinueSearchKey(LorvaneWindow& window, const SearchContext& context) {
  if (!context.historyShown) {
    window.PostStatus(Cp("继续搜索失败: 还没有可以继续的搜索，请先搜索，或恢复一个搜索历史!"));
    return;
  }
  window.StartWorker(Worker::ContinueSearch);
}

int ContinueSearch(LorvaneWindow& window, SearchContext& context, ContinuedSearch* continued, size_t windowSize,
                   suite::ExclusiveFile* openLog) {
  window.PostStatus("CLorvaneDlg::_thr_continue_search()");
  const std::string directory = context.historyDirectory;
  if (directory.empty() || !suite::PathExists(DescriptorPath(directory))) {
    window.PostStatus(Cp("继续搜索失败: 还没有可以继续的搜索，请先搜索，或恢复一个搜索历史!"));
    return -1;
  }
  window.EnableControls(false, true);
  context.workerDone = 0;
  const auto end = [&](int code) {
    window.ProgressSetPosition(0);
    window.EnableControls(true, true);
    context.workerDone = 1;
    return code;
  };
  // Held while it changes: no other update, search or deletion meanwhile.
  suite::HeldDirectory held;
  if (!held.Hold(directory)) {
    window.PostStatus(held.HeldElsewhere() ? Cp("继续搜索失败: 这个搜索历史正在被另一个搜索使用!")
                                           : Cp("继续搜索失败: 不能打开搜索历史目录“") + suite::PathText(directory) +
                                                 Cp("”!"));
    return end(-1);
  }
  if (!suite::SettleStagedFiles(directory, kDescriptorName)) {
    window.PostStatus(Cp("继续搜索失败: 不能完成上一次被中断的继续搜索，搜索历史目录“") + suite::PathText(directory) +
                      Cp("”可能是只读的!"));
    return end(-1);
  }
  DescriptorContents descriptor;
  if (!ReadDescriptor(DescriptorPath(directory), &descriptor)) {
    window.PostStatus(Cp("继续搜索失败: 打开 result.lvn 文件失败! FileName[") +
                      suite::PathText(DescriptorPath(directory)) + "]");
    return end(-1);
  }
  CLVNResultHeader header = HeaderOf(descriptor);
  header.historyDirectory = directory;  // where it is, whatever it says
  CLVNResultCheck check(header, descriptor.index.HighestKey());
  if (!check.CheckHeader()) {
    window.PostStatus(Cp("继续搜索失败: ") + check.ErrorText());
    return end(-1);
  }
  return end(GoOn(window, context, descriptor, directory, continued, windowSize, openLog));
}

}  // namespace lorvane
