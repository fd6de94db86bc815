#include "searcher/engine/keyword_search.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <random>
#include <optional>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/exclusive_file.h"
#include "common/held_directory.h"
#include "recording_window.h"
#include "searcher/engine/count_text.h"
#include "searcher/engine/quick_pre_read.h"
#include "searcher/engine/search_context.h"
#include "searcher/engine/virtual_page.h"
#include "searcher/history/log_identity.h"
#include "searcher/history/result_descriptor.h"
#include "searcher/history/result_load.h"
#include "test_support/temp_dir.h"

namespace lorvane {
namespace {

using suite::testing::ReadFile;
using suite::testing::TempDir;
using suite::testing::WriteFile;
using testing::RecordingWindow;

class KeywordSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    suite::SetActiveCodePage(suite::CodePage::Gbk);
    context.workDirectory = dir / "__Lorvane__";
  }

  // Pre-reads and searches as the window does after "开始搜索".
  int Run(const std::string& text, const std::string& keyword, bool matchCase, size_t blockSize = 1 << 20) {
    const std::string path = WriteFile(dir / "target.log", text);
    window.SetFormText(FormText::FilePath, path);
    window.SetFormText(FormText::Keyword, keyword);
    window.SetMatchCase(matchCase);
    window.RefreshForm();
    QuickPreRead(window, context);
    window.calls.clear();
    window.messages.clear();
    return Search(window, context, blockSize);
  }

  std::string ResultFile(int number) const { return context.historyDirectory + "/" + ResultFileName(number); }
  std::vector<std::string> ListTexts(ListControl list) const {
    std::vector<std::string> texts;
    for (const auto& entry : window.List(list).entries) texts.push_back(entry.text);
    return texts;
  }

  TempDir dir;
  RecordingWindow window;
  SearchContext context;
};

std::string NumberedLines(int count, const std::string& text) {
  std::string lines;
  for (int i = 1; i <= count; ++i) lines += text + std::to_string(i) + "\r\n";
  return lines;
}

// A window that deletes each result file as the search makes it, as a history
// browser or a hand might, and notes whether the search held its directory.
class DeletingWindow : public RecordingWindow {
 public:
  explicit DeletingWindow(const SearchContext& context) : context_(context) {}
  void ListAppend(ListControl list, const std::string& text) override {
    RecordingWindow::ListAppend(list, text);
    if (list != ListControl::ResultFiles) return;
    heldWhileRunning = suite::DirectoryIsHeld(context_.historyDirectory);
    std::filesystem::remove(context_.historyDirectory + "/" + text);
  }
  bool heldWhileRunning = false;

 private:
  const SearchContext& context_;
};

// A search whose result files vanish while it runs holds less than it found:
// it fails, writes no descriptor, and never says "搜索完毕".
TEST(KeywordSearchVanishTest, ResultFilesDeletedWhileItRunsMakeItAFailure) {
  suite::SetActiveCodePage(suite::CodePage::Gbk);
  TempDir dir;
  SearchContext context;
  context.workDirectory = dir / "__Lorvane__";
  DeletingWindow window(context);
  window.SetFormText(FormText::FilePath, WriteFile(dir / "target.log", "ERROR 1\r\nok\r\nERROR 2\r\n"));
  window.SetFormText(FormText::Keyword, "ERROR");
  window.RefreshForm();
  QuickPreRead(window, context);
  EXPECT_EQ(Search(window, context), -1);
  EXPECT_TRUE(window.heldWhileRunning);
  EXPECT_EQ(window.messages.back(), "搜索失败: 搜索结果文件“" + context.historyDirectory + "/000000.txt”在搜索时被删除!");
  for (const std::string& message : window.messages) EXPECT_EQ(message.find("搜索完毕"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(context.historyDirectory + "/result.lvn"));
  EXPECT_FALSE(suite::DirectoryIsHeld(context.historyDirectory));  // released at its end
}

TEST_F(KeywordSearchTest, RecordsAndTheLivePage) {
  EXPECT_EQ(Run("first ERROR\r\nskip\r\nERROR\tand ERROR again\nlast ERROR", "ERROR", true), 0);
  EXPECT_EQ(ReadFile(ResultFile(0)),
            "0000000001|0000000001| first ERROR\r\n"
            "0000000002|0000000003| ERROR\tand ERROR again\r\n"
            "0000000003|0000000004| last ERROR\r\n");
  // The live page shows tabs as two blanks and keeps each record's CR LF.
  EXPECT_EQ(ListTexts(ListControl::Results),
            (std::vector<std::string>{"0000000001|0000000001| first ERROR\r\n",
                                      "0000000002|0000000003| ERROR  and ERROR again\r\n",
                                      "0000000003|0000000004| last ERROR\r\n"}));
  EXPECT_EQ(ListTexts(ListControl::ResultFiles), std::vector<std::string>{"000000.txt"});
  EXPECT_EQ(window.List(ListControl::ResultFiles).selection, 0);
  EXPECT_EQ(window.messages, (std::vector<std::string>{
                                 "CLorvaneDlg::_thr_search()",
                                 "搜索完毕。目标文件共 0 0004 行，其中 3 行包含关键字，存于 1 个结果文件中。",
                             }));
  EXPECT_EQ(suite::ToUtf8(window.Form().readLinesText), "读入 4 行");
  EXPECT_EQ(suite::ToUtf8(window.Form().resultsText), "共 0 0003 行");
  EXPECT_EQ(context.targetPath, dir / "target.log");
  EXPECT_EQ(context.keyword, "ERROR");
  EXPECT_EQ(context.workerDone, 1);
  EXPECT_TRUE(window.ControlsEnabled());
}

TEST_F(KeywordSearchTest, CaseFoldingAndTrailBytes) {
  const std::string text = "ERROR\r\nerror\r\nError\r\n\xB0\x41\r\n";
  Run(text, "ERROR", false);
  EXPECT_EQ(ReadFile(ResultFile(0)).size(), 3u * 23 + 5 * 3 + 6);
  Run(text, "error", true);
  EXPECT_EQ(ReadFile(ResultFile(0)), "0000000001|0000000002| error\r\n");
  // "A" is only the trail byte of a double-byte character here.
  Run(text, "A", true);
  EXPECT_FALSE(std::filesystem::exists(ResultFile(0)));
  EXPECT_EQ(window.messages.back(), "搜索完毕。目标文件共 0 0004 行，其中 0 行包含关键字，存于 0 个结果文件中。");
}

TEST_F(KeywordSearchTest, TwoThousandRecordsAFile) {
  Run(NumberedLines(2000, "hit "), "hit", true);
  EXPECT_FALSE(std::filesystem::exists(ResultFile(1)));
  EXPECT_EQ(window.List(ListControl::Results).entries.size(), 2000u);

  Run(NumberedLines(2001, "hit "), "hit", true);
  EXPECT_EQ(ReadFile(ResultFile(1)), "0000002001|0000002001| hit 2001\r\n");
  EXPECT_EQ(ListTexts(ListControl::ResultFiles), (std::vector<std::string>{"000000.txt", "000001.txt"}));
  // Only the first file's records go into the list.
  EXPECT_EQ(window.List(ListControl::Results).entries.size(), 2000u);
  EXPECT_EQ(window.messages.back(), "搜索完毕。目标文件共 0 2001 行，其中 2001 行包含关键字，存于 2 个结果文件中。");
}

TEST_F(KeywordSearchTest, ReadLinesEveryTenThousandLines) {
  for (size_t blockSize : {size_t{7}, size_t{1} << 20}) {
    Run(NumberedLines(25000, "line "), "line 1", true, blockSize);
    EXPECT_TRUE(window.Called("SetFormText(ReadLines," + suite::Cp("读入 10000 行") + ")"));
    EXPECT_TRUE(window.Called("SetFormText(ReadLines," + suite::Cp("读入 20000 行") + ")"));
    EXPECT_EQ(window.Count("ProgressStep()"), 2);
    EXPECT_TRUE(window.Called("ProgressSetRange(0,3)"));  // the quick index has three entries
    // At line 10000 the lines before it hold 1, 10..19, 100..199, 1000..1999: 1111 results.
    EXPECT_TRUE(window.Called("SetFormText(Results," + suite::Cp("共 0 1111 行") + ")"));
    EXPECT_EQ(suite::ToUtf8(window.Form().readLinesText), "读入 25000 行");
  }
}

TEST_F(KeywordSearchTest, TheDescriptorIsWrittenBeforeTheWindowIsUnlocked) {
  struct CheckingWindow : RecordingWindow {
    SearchContext* context = nullptr;
    bool descriptorAtUnlock = false;
    void EnableControls(bool enable, bool progress) override {
      if (enable) descriptorAtUnlock = std::filesystem::exists(DescriptorPath(context->historyDirectory));
      RecordingWindow::EnableControls(enable, progress);
    }
  } checking;
  checking.context = &context;
  const std::string path = WriteFile(dir / "t.log", NumberedLines(3, "x"));
  checking.SetFormText(FormText::FilePath, path);
  checking.SetFormText(FormText::Keyword, "x2");
  checking.RefreshForm();
  QuickPreRead(checking, context);
  EXPECT_EQ(Search(checking, context), 0);
  EXPECT_TRUE(checking.descriptorAtUnlock);
  EXPECT_EQ(ReadFile(DescriptorPath(context.historyDirectory)),
            context.historyDirectory + "\r\n" + path + "\r\nx2\r\nN\r\n12B\r\n3\r\n1\r\n_mp[0]=0;\r\n");
}

TEST_F(KeywordSearchTest, NoResultsStillLeaveADescriptor) {
  Run("a\r\nb\r\n", "zzz", true);
  EXPECT_TRUE(window.List(ListControl::ResultFiles).entries.empty());
  EXPECT_FALSE(window.Called("ListSelectText(ResultFiles,000000.txt)"));
  const std::string descriptor = ReadFile(DescriptorPath(context.historyDirectory));
  EXPECT_NE(descriptor.find("\r\nY\r\n6B\r\n2\r\n0\r\n_mp[0]=0;\r\n"), std::string::npos);
}

TEST_F(KeywordSearchTest, TwoSearchesNeverShareAHistoryDirectory) {
  Run("hit\r\n", "hit", true);
  const std::string first = context.historyDirectory;
  Run("hit\r\n", "hit", true);
  EXPECT_NE(context.historyDirectory, first);
  EXPECT_TRUE(std::filesystem::exists(first + "/000000.txt"));
}

TEST_F(KeywordSearchTest, StartChecks) {
  window.Controls().keyword = "";
  OnBtnStartSearch(window);
  EXPECT_EQ(window.messages.back(), "OnBtnStartSearch: 关键字不能为空!");
  EXPECT_EQ(window.Focus(), EditControl::Keyword);
  window.Controls().keyword = "x";
  window.Controls().filePath = dir / "nothing.log";
  OnBtnStartSearch(window);
  EXPECT_EQ(window.messages.back(), "OnBtnStartSearch: 目标文件不存在!" + dir / "nothing.log");
  EXPECT_FALSE(window.Called("StartWorker(Search)"));
  window.Controls().filePath = WriteFile(dir / "here.log", "x");
  OnBtnStartSearch(window);
  EXPECT_TRUE(window.Called("StartWorker(Search)"));
}

TEST_F(KeywordSearchTest, ATargetThatCannotBeOpened) {
  Run("hit\r\n", "hit", true);
  const std::string history = context.historyDirectory;
  suite::ExclusiveFile holder;
  ASSERT_TRUE(holder.Open(dir / "target.log"));
  window.SetFormText(FormText::Keyword, "other");
  window.calls.clear();
  window.messages.clear();
  EXPECT_EQ(Search(window, context), -1);
  EXPECT_EQ(window.messages.back(), "搜索失败: 打开目标文件失败! 可能由于其它程序正在写/独享目标文件。");
  EXPECT_EQ(context.keyword, "other");
  EXPECT_EQ(context.historyDirectory, history);
  EXPECT_TRUE(window.List(ListControl::Results).entries.empty());
  EXPECT_TRUE(window.ControlsEnabled());

  // Removed since its pre-read: gone, not held.
  holder.Close();
  std::filesystem::remove(dir / "target.log");
  EXPECT_EQ(Search(window, context), -1);
  EXPECT_EQ(window.messages.back(), "搜索失败: 目标文件不存在!");
  EXPECT_EQ(context.historyDirectory, history);
  EXPECT_TRUE(window.ControlsEnabled());
}

TEST_F(KeywordSearchTest, AResultFileThatCannotBeCreated) {
  context.workDirectory = WriteFile(dir / "not-a-directory", "") + "/__Lorvane__";
  EXPECT_EQ(Run("a\r\nhit\r\n", "hit", true), -1);
  EXPECT_EQ(window.messages.back(), "搜索失败: 不能创建搜索结果文件“" + context.historyDirectory + "/000000.txt”!");
  EXPECT_EQ(context.workerDone, 1);
  EXPECT_TRUE(window.ControlsEnabled());
  // Nothing found: only the descriptor can't be written. The search is shown,
  // but one that can never be restored is not a success.
  EXPECT_EQ(Run("a\r\n", "hit", true), -1);
  EXPECT_EQ(window.messages.back(), "toResultWrite: 不能创建搜索结果文件“" + context.historyDirectory + "/result.lvn”!");
  EXPECT_TRUE(window.ControlsEnabled());
}

// Each stands on a line of the descriptor: a line end would shift its fields.
TEST_F(KeywordSearchTest, AKeywordOrPathWithALineEndIsRefused) {
  const std::string target = WriteFile(dir / "here.log", "a\r\nb\r\n");
  window.Controls().filePath = target;
  for (const char* keyword : {"a\nb", "a\r", "\n"}) {
    window.Controls().keyword = keyword;
    OnBtnStartSearch(window);
    EXPECT_EQ(window.messages.back(), "OnBtnStartSearch: 关键字不能包含回车或换行符!");
  }
  if (!SUITE_ON_WINDOWS) {  // Windows names can't hold a line end: such a file never exists there
    const std::string odd = WriteFile(dir / "line\nend.log", "a\r\n");
    window.Controls().keyword = "a";
    window.Controls().filePath = odd;
    OnBtnStartSearch(window);
    EXPECT_EQ(window.messages.back(), "OnBtnStartSearch: 目标文件路径不能包含回车或换行符!");
  }
  EXPECT_FALSE(window.Called("StartWorker(Search)"));

  // A search started by a command line's pre-read is refused the same way.
  window.SetFormText(FormText::FilePath, target);
  window.SetFormText(FormText::Keyword, "a\nb");
  window.RefreshForm();
  EXPECT_EQ(Search(window, context), -1);
  EXPECT_EQ(window.messages.back(), "搜索失败: 关键字不能包含回车或换行符!");
  EXPECT_TRUE(context.historyDirectory.empty());
  EXPECT_TRUE(window.ControlsEnabled());
}

// 0x08 separates the cells of a history row: a keyword or target name with it
// would shift the row's columns, so it is refused as a line end is.
TEST_F(KeywordSearchTest, AKeywordOrPathWithTheRowSeparatorIsRefused) {
  const std::string target = WriteFile(dir / "here.log", "a\bb\r\n");
  window.Controls().filePath = target;
  window.Controls().keyword = "a\bb";
  OnBtnStartSearch(window);
  EXPECT_EQ(window.messages.back(), "OnBtnStartSearch: 关键字不能包含退格符(0x08)!");
  if (!SUITE_ON_WINDOWS) {  // nor a control character
    const std::string odd = WriteFile(dir / "back\bspace.log", "a\r\n");
    window.Controls().keyword = "a";
    window.Controls().filePath = odd;
    OnBtnStartSearch(window);
    EXPECT_EQ(window.messages.back(), "OnBtnStartSearch: 目标文件路径不能包含退格符(0x08)!");
  }
  EXPECT_FALSE(window.Called("StartWorker(Search)"));

  window.SetFormText(FormText::FilePath, target);
  window.SetFormText(FormText::Keyword, "a\bb");
  window.RefreshForm();
  EXPECT_EQ(Search(window, context), -1);
  EXPECT_EQ(window.messages.back(), "搜索失败: 关键字不能包含退格符(0x08)!");
  EXPECT_TRUE(context.historyDirectory.empty());
}

// The index the search writes is the pre-read's for a file that didn't change,
// whatever the line ends, the last line and the block size.
TEST_F(KeywordSearchTest, TheSearchTakesTheIndexOfTheFileAsItReadIt) {
  std::mt19937 random(11);
  for (int round = 0; round < 40; ++round) {
    std::string text;
    const int lines = static_cast<int>(random() % 40000);
    for (int i = 0; i < lines; ++i) {
      text += std::string(random() % 12, 'a' + static_cast<char>(random() % 3));
      if (random() % 50 == 0) text += " hit";
      text += random() % 3 ? "\n" : "\r\n";
    }
    if (random() % 2 && !text.empty()) text.pop_back();      // a last line without LF
    if (random() % 8 == 0) text.insert(text.size() / 2, "\x1A");  // the text ends early
    const std::string keyword = round % 3 == 0 ? "a" : round % 3 == 1 ? "hit" : "zzz";
    SCOPED_TRACE(round);
    // A work directory a round: a search never waits for the clock to move on.
    context.workDirectory = dir / ("work" + std::to_string(round));
    const size_t blockSizes[] = {7, 64, 4093, 1 << 20};  // lines and entries straddle blocks
    ASSERT_EQ(Run(text, keyword, true, blockSizes[round % 4]), 0);
    const std::string searched = QuickIndexText(context.quickIndex);
    QuickPreRead(window, context);
    EXPECT_EQ(searched, QuickIndexText(context.quickIndex));
  }
}

// A log that grew (or was cut) between its pre-read and its search: the
// descriptor describes the file as the search read it, and restores.
TEST_F(KeywordSearchTest, ALogChangedAfterItsPreReadStillLeavesARestorableHistory) {
  for (const auto& [before, after] : std::vector<std::pair<int, int>>{{15000, 25000}, {25000, 5000}, {3, 0}}) {
    SCOPED_TRACE(after);
    context.workDirectory = dir / ("work" + std::to_string(after));
    const std::string path = WriteFile(dir / "target.log", NumberedLines(before, "hit "));
    window.SetFormText(FormText::FilePath, path);
    window.SetFormText(FormText::Keyword, "hit 1");
    window.RefreshForm();
    ASSERT_EQ(QuickPreRead(window, context), 0);
    WriteFile(path, NumberedLines(after, "hit "));
    window.RefreshForm();
    ASSERT_EQ(Search(window, context), 0);
    const std::string searched = QuickIndexText(context.quickIndex);
    SearchContext restored;
    window.messages.clear();
    EXPECT_TRUE(ResultLoad(window, restored, DescriptorPath(context.historyDirectory))) << window.messages.back();
    EXPECT_EQ(restored.totalLineCount, after);
    EXPECT_EQ(QuickIndexText(restored.quickIndex), searched);
    QuickPreRead(window, context);
    EXPECT_EQ(QuickIndexText(context.quickIndex), searched);
  }
}

// Every history knows its log: where the search stopped, how many lines it
// read up to there, and whether the log is still as it left it.
TEST_F(KeywordSearchTest, AHistoryKnowsItsLog) {
  for (const std::string& text : {NumberedLines(30000, "hit ") + "half a line", NumberedLines(3, "hit ") + "\x1A after"}) {
    context.workDirectory = dir / ("work" + std::to_string(text.size()));
    ASSERT_EQ(Run(text, "hit", true), 0);
    const std::optional<LogIdentity> identity = ReadLogIdentity(context.historyDirectory);
    ASSERT_TRUE(identity.has_value());
    const bool ended = text.find('\x1A') != std::string::npos;
    EXPECT_EQ(identity->stop.value, static_cast<int64_t>(ended ? text.find('\x1A') : text.size()));
    EXPECT_EQ(identity->lines.value, ended ? 3 : 30001);
    EXPECT_EQ(identity->lastLineEnded, ended);
    EXPECT_EQ(identity->size, static_cast<int64_t>(text.size()));
    const std::string path = dir / "target.log";
    EXPECT_EQ(CompareLog(*identity, path), LogChange::kSame);
    // Bytes after a 0x1A are no text a search reads: no growth either.
    WriteFile(path, text + "\r\nmore\r\n");
    EXPECT_EQ(CompareLog(*identity, path), ended ? LogChange::kSame : LogChange::kGrown);
  }
}

// A restore says what became of the history's log: grown (by how much), cut
// or replaced; the same log, or a history from before, restores as ever.
TEST_F(KeywordSearchTest, ARestoreSaysWhatBecameOfItsLog) {
  const std::string text = NumberedLines(50, "hit ");
  const std::string path = dir / "target.log";
  const std::string success = "toResultLoad: 成功载入一个 result.lvn 搜索历史文件。";
  struct Case {
    std::string name;
    std::string now;  // the log's bytes at the restore; empty: renamed away and another put there
    std::string said;
  };
  for (const Case& change : std::vector<Case>{
           {"same", text, ""},
           {"grown", text + "more 1\r\n", "toResultLoad: 目标文件在搜索后增长了 8 字节，新增的内容不在这个搜索历史中，继续搜索(F8)才包括它。"},
           {"cut", text.substr(0, 100), "toResultLoad: 恢复历史情境警告。继续恢复。原因[目标文件在搜索后被截短或改写，不显示它的行]"},
           {"replaced", "", "toResultLoad: 恢复历史情境警告。继续恢复。原因[目标文件已被另一个文件替换，不显示它的行]"},
           {"from before", text + "more 1\r\n", ""},
       }) {
    SCOPED_TRACE(change.name);
    context.workDirectory = dir / change.name;
    ASSERT_EQ(Run(text, "hit", true), 0);
    if (change.name == "from before") std::filesystem::remove(context.historyDirectory + "/" + kIdentityFileName);
    if (change.now.empty()) {
      std::filesystem::rename(path, path + ".1");
      WriteFile(path, "another log\r\n" + text);
    } else {
      WriteFile(path, change.now);
    }
    SearchContext restored;
    window.messages.clear();
    ASSERT_TRUE(ResultLoad(window, restored, DescriptorPath(context.historyDirectory)));
    EXPECT_EQ(window.messages.back(), success);
    const bool said = std::find(window.messages.begin(), window.messages.end(), change.said) != window.messages.end();
    EXPECT_EQ(said, !change.said.empty());
    EXPECT_EQ(restored.targetIdentity.has_value(), change.name != "from before");
    // Its page shows the searched log's lines, or none.
    window.SetFormNumber(FormNumber::CentreLine, 2);
    window.SetFormNumber(FormNumber::HalfPage, 1);
    const bool shown = change.name != "cut" && change.name != "replaced";
    EXPECT_EQ(CenterVirtualPage(window, restored), shown ? 0 : -1);
    EXPECT_EQ(window.List(ListControl::VirtualPage).entries.size(), shown ? 3u : 0u);
  }
}

// A target with no lines (empty, or 0x1A at once) leaves a descriptor without
// index entries, which its own restore accepts.
TEST_F(KeywordSearchTest, TheSearchOfAnEmptyTargetRestores) {
  for (const char* text : {"", "\x1A more"}) {
    context.workDirectory = dir / (*text ? "work1" : "work0");
    ASSERT_EQ(Run(text, "x", true), 0);
    const std::string descriptor = ReadFile(DescriptorPath(context.historyDirectory));
    EXPECT_NE(descriptor.find("\r\n0\r\n0\r\n"), std::string::npos);
    EXPECT_EQ(descriptor.find("_mp["), std::string::npos);
    SearchContext restored;
    window.messages.clear();
    EXPECT_TRUE(ResultLoad(window, restored, DescriptorPath(context.historyDirectory))) << window.messages.front();
    EXPECT_EQ(window.messages.back(), "toResultLoad: 成功载入一个 result.lvn 搜索历史文件。");
  }
}

TEST_F(KeywordSearchTest, AFullDiskIsAFailureAndLeavesNoDescriptor) {
  SUITE_SKIP_ON_WINDOWS("no file-size limit to stand in for a full disk there");
#ifndef _WIN32
  // A file size limit makes writes fail the way a full disk does.
  struct rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 200000;
  const std::string text = NumberedLines(5000, std::string(150, 'h') + " hit ");  // 2000 records pass the limit
  const std::string path = WriteFile(dir / "target.log", text);
  window.SetFormText(FormText::FilePath, path);
  window.SetFormText(FormText::Keyword, "hit");
  window.RefreshForm();
  QuickPreRead(window, context);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const int result = Search(window, context);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(window.messages.back().rfind("搜索失败: 写入搜索结果文件“" + context.historyDirectory + "/0000", 0), 0u);
  EXPECT_FALSE(std::filesystem::exists(DescriptorPath(context.historyDirectory)));
  EXPECT_TRUE(window.ControlsEnabled());
  // The file stops at its last whole record, and the live page and the
  // figure show just what it holds.
  const std::string kept = ReadFile(ResultFile(0));
  ASSERT_GT(kept.size(), 0u);
  ASSERT_LT(kept.size(), text.size());
  EXPECT_EQ(kept.substr(kept.size() - 2), "\r\n");
  size_t records = 0;
  for (size_t at = kept.find("\r\n"); at != std::string::npos; at = kept.find("\r\n", at + 2)) ++records;
  EXPECT_EQ(ListTexts(ListControl::Results).size(), records);
  EXPECT_EQ(window.Form().resultsText, FormatCountText(static_cast<int64_t>(records)));
  EXPECT_EQ(ListTexts(ListControl::ResultFiles), std::vector<std::string>{"000000.txt"});
#endif
}

}  // namespace
}  // namespace lorvane
