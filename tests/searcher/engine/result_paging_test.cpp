#include "searcher/engine/result_paging.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "common/codepage.h"
#include "common/exclusive_file.h"
#include "recording_window.h"
#include "searcher/engine/auto_load.h"
#include "searcher/engine/clipboard_search.h"
#include "searcher/engine/keyword_search.h"
#include "searcher/engine/quick_pre_read.h"
#include "searcher/engine/search_context.h"
#include "searcher/history/result_load.h"
#include "test_support/temp_dir.h"

namespace lorvane {
namespace {

using suite::testing::ReadFile;
using suite::testing::TempDir;
using suite::testing::WriteFile;

// The fake window whose selection actions run the engine's, as the real one does.
struct PagingWindow : testing::RecordingWindow {
  SearchContext* context = nullptr;
  void OnSelectResultFile() override {
    RecordingWindow::OnSelectResultFile();
    SelectResultFile(*this, *context);
  }
  void OnSelectResultLine() override {
    RecordingWindow::OnSelectResultLine();
    SelectResultLine(*this, *context);
  }
};

class ResultPagingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    suite::SetActiveCodePage(suite::CodePage::Gbk);
    context.workDirectory = dir / "__Lorvane__";
    context.clipboardDirectory = context.workDirectory + "/__Clipboard__";
    window.context = &context;
    std::string text;
    for (int i = 1; i <= 4711; ++i) text += (i % 2 ? "hit\t" : "miss ") + std::to_string(i) + "\r\n";
    target = WriteFile(dir / "t.log", text);
    window.SetFormText(FormText::FilePath, target);
    window.SetFormText(FormText::Keyword, "hit");
    window.RefreshForm();
    QuickPreRead(window, context);
    Search(window, context);  // 2356 results: two files
    window.messages.clear();
  }

  void Choose(ListControl list, int64_t index) {
    window.ListSelect(list, index);
    if (list == ListControl::ResultFiles) {
      window.OnSelectResultFile();
    } else {
      window.OnSelectResultLine();
    }
  }

  TempDir dir;
  std::string target;
  PagingWindow window;
  SearchContext context;
};

TEST_F(ResultPagingTest, PagesAndTheClipboard) {
  // The live first page keeps each record's CR LF, so the clipboard gets it too.
  Choose(ListControl::Results, 1);
  EXPECT_EQ(window.Clipboard(), "hit  3\r\n");
  EXPECT_EQ(window.Form().centreLine, 3);
  EXPECT_TRUE(window.Called("StartWorker(CenterVirtualPage)"));

  Choose(ListControl::ResultFiles, 1);
  EXPECT_EQ(window.messages.back(), "打开搜索结果文件 000001.txt 成功! 读入 356 条搜索结果记录。");
  ASSERT_EQ(window.List(ListControl::Results).entries.size(), 356u);
  EXPECT_EQ(window.List(ListControl::Results).entries[0].text, "0000002001|0000004001| hit  4001");
  Choose(ListControl::Results, 355);
  EXPECT_EQ(window.Clipboard(), "hit  4711");
  EXPECT_EQ(window.Form().centreLine, 4711);

  Choose(ListControl::ResultFiles, 0);
  Choose(ListControl::Results, 1);
  EXPECT_EQ(window.Clipboard(), "hit  3");  // a reloaded page has no CR LF

  window.calls.clear();
  ReadResultPage(window);
  EXPECT_EQ(window.DialogTexts().back().substr(0, 16), "hit  1\r\nhit  3\r\n");
}

// Result files are read without the lock: a page another reader holds loads.
TEST_F(ResultPagingTest, APageHeldByAnotherReaderLoads) {
  suite::ExclusiveFile holder;
  ASSERT_TRUE(holder.Open(context.historyDirectory + "/000001.txt"));
  Choose(ListControl::ResultFiles, 1);
  EXPECT_EQ(window.messages.back(), "打开搜索结果文件 000001.txt 成功! 读入 356 条搜索结果记录。");
}

TEST_F(ResultPagingTest, MissingFilesDirectoriesAndTargets) {
  std::filesystem::remove(context.historyDirectory + "/000001.txt");
  Choose(ListControl::ResultFiles, 1);
  EXPECT_EQ(window.messages.back(), "搜索结果文件 000001.txt 不存在! 清空搜索结果列表，删除结果文件列表当前表项。");
  EXPECT_EQ(window.List(ListControl::ResultFiles).entries.size(), 1u);
  EXPECT_TRUE(window.List(ListControl::Results).entries.empty());

  // A page that isn't a file can't be opened.
  const std::string page = context.historyDirectory + "/000000.txt";
  std::filesystem::rename(page, page + ".kept");
  std::filesystem::create_directory(page);
  Choose(ListControl::ResultFiles, 0);
  EXPECT_EQ(window.messages.back(), "打开搜索结果文件 000000.txt 失败! 可能由于其它程序正在写/独享目标文件。");
  std::filesystem::remove(page);
  std::filesystem::rename(page + ".kept", page);
  Choose(ListControl::ResultFiles, 0);
  ASSERT_EQ(window.List(ListControl::Results).entries.size(), 2000u);

  std::filesystem::remove(target);
  Choose(ListControl::Results, 0);
  EXPECT_EQ(window.Clipboard(), "hit  1");  // copied before the target is looked for
  EXPECT_EQ(window.messages.back(), "目标文件 " + target + " 不存在! 清空所有列表。");
  EXPECT_TRUE(window.List(ListControl::ResultFiles).entries.empty());

  window.ListAppend(ListControl::ResultFiles, "000000.txt");
  std::filesystem::remove_all(context.historyDirectory);
  Choose(ListControl::ResultFiles, 0);
  EXPECT_EQ(window.messages.back(), "临时目录 " + context.historyDirectory + " 不存在! 清空所有列表。");
  EXPECT_TRUE(window.List(ListControl::ResultFiles).entries.empty());
  window.calls.clear();
  ReadResultPage(window);  // nothing to read
  EXPECT_TRUE(window.calls.empty());
}

TEST_F(ResultPagingTest, RecordsGiveTheirWholeLineNumber) {
  EXPECT_EQ(RecordLineNumber("0000000003|1234567890| x"), 1234567890);
  EXPECT_EQ(RecordLineNumber("0000000003|0000004711| x"), 4711);
  EXPECT_EQ(RecordLineNumber("short"), 0);
  EXPECT_EQ(RecordText("0000000003|0000004711| text\r\n"), "text\r\n");
  EXPECT_EQ(RecordText("0000000003|0000004711|"), "");
}

TEST_F(ResultPagingTest, ARestoreEndsWithItsFirstPageAndLine) {
  const std::string descriptor = context.historyDirectory + "/result.lvn";
  PagingWindow fresh;
  SearchContext restored;
  fresh.context = &restored;
  ASSERT_TRUE(ResultLoad(fresh, restored, descriptor));
  EXPECT_EQ(fresh.List(ListControl::Results).entries.size(), 2000u);
  EXPECT_EQ(fresh.List(ListControl::Results).selection, 0);
  EXPECT_EQ(fresh.Clipboard(), "hit  1");
  EXPECT_EQ(fresh.Form().centreLine, 1);
  EXPECT_TRUE(fresh.Called("StartWorker(CenterVirtualPage)"));
}

TEST_F(ResultPagingTest, ClipboardSearch) {
  window.SetClipboard("one\r\ntwo\r\nthree\r\n");
  window.messages.clear();
  EXPECT_EQ(LoadClipboard(window, context), 0);
  const std::string path = window.Form().filePath;
  EXPECT_EQ(path.rfind(context.clipboardDirectory + "/cp_", 0), 0u);
  EXPECT_EQ(ReadFile(path), "one\r\ntwo\r\nthree\r\n");
  EXPECT_EQ(window.messages, (std::vector<std::string>{"AutoLoad: FilePath[" + path + "]",
                                                       "AutoSearch: KeyWord[hit], MatchCase[No]"}));
  EXPECT_EQ(window.Form().keyword, "hit");
  EXPECT_TRUE(window.Called("StartWorker(QuickPreRead)"));
  EXPECT_EQ(context.workerDone, 1);

  // A second one within the same second waits rather than replace the first.
  window.SetClipboard("other");
  EXPECT_EQ(LoadClipboard(window, context), 0);
  EXPECT_NE(window.Form().filePath, path);
  EXPECT_EQ(ReadFile(path), "one\r\ntwo\r\nthree\r\n");

  window.calls.clear();
  window.messages.clear();
  window.SetClipboard("");
  EXPECT_EQ(LoadClipboard(window, context), -1);
  EXPECT_TRUE(window.messages.empty());
  EXPECT_FALSE(window.Called("StartWorker(QuickPreRead)"));
  EXPECT_TRUE(window.ControlsEnabled());
}

TEST_F(ResultPagingTest, ClipboardTextLimits) {
  EXPECT_EQ(ClipboardText(std::string("ab\0cd", 5)), "ab");
  const std::string big(20 << 20, 'x');
  EXPECT_EQ(ClipboardText(big).size(), 16777216u);
  context.clipboardDirectory = WriteFile(dir / "file", "") + "/__Clipboard__";
  window.SetClipboard("text");
  EXPECT_EQ(LoadClipboard(window, context), -1);
  EXPECT_EQ(window.messages.back().rfind("不能创建剪贴板文本临时文件“" + context.clipboardDirectory + "/cp_", 0), 0u);
}

}  // namespace
}  // namespace lorvane
