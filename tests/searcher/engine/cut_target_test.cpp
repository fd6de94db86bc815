// A target cut by another program (a log rotated by copytruncate) while a
// scanner reads it through a mapped window: each scanner reports a failure,
// and the program goes on.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "recording_window.h"
#include "searcher/engine/keyword_search.h"
#include "searcher/history/result_descriptor.h"
#include "searcher/engine/quick_pre_read.h"
#include "searcher/engine/search_context.h"
#include "searcher/engine/virtual_page.h"
#include "test_support/temp_dir.h"

namespace lorvane {
namespace {

using suite::testing::CutFromAnotherProcess;
using suite::testing::TempDir;
using suite::testing::WriteFile;

// Cuts the target to nothing at the first call that `when` picks, while the
// scanner holds its window mapped.
struct CuttingWindow : testing::RecordingWindow {
  std::string target;
  bool cut = false;
  long long cutTo = 0;  // the size the target is cut to
  std::function<bool(const std::string& call)> when;
  void CutOnce(const std::string& call) {
    if (cut || !when || !when(call)) return;
    cut = true;
    ASSERT_TRUE(CutFromAnotherProcess(target, cutTo));
  }
  void ProgressStep() override {
    RecordingWindow::ProgressStep();
    CutOnce("ProgressStep");
  }
  void PostStatus(const std::string& message) override {
    RecordingWindow::PostStatus(message);
    CutOnce("PostStatus(" + suite::ToUtf8(message) + ")");
  }
  void ListAppend(ListControl list, const std::string& text) override {
    RecordingWindow::ListAppend(list, text);
    if (list == ListControl::Results) CutOnce("ListAppend(Results)");
    if (list == ListControl::ResultFiles) CutOnce("ListAppend(ResultFiles, " + text + ")");
  }
  void ListAppendColoured(ListControl list, const std::string& text, Rgb colour) override {
    RecordingWindow::ListAppendColoured(list, text, colour);
    CutOnce("ListAppendColoured");
  }
};

class CutTargetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SUITE_SKIP_ON_WINDOWS("a mapped file can't be cut there (FileWindowWindowsTest)");
    suite::SetActiveCodePage(suite::CodePage::Gbk);
    context.workDirectory = dir / "__Lorvane__";
  }
  std::string Target(const std::string& bytes) {
    window.target = WriteFile(dir / "t.log", bytes);
    window.SetFormText(FormText::FilePath, window.target);
    window.RefreshForm();
    return window.target;
  }

  TempDir dir;
  CuttingWindow window;
  SearchContext context;
};

TEST_F(CutTargetTest, ThePreRead) {
  // Empty lines: the entries come in several batches from one window.
  Target(std::string(8 << 20, '\n'));
  context.quickIndex.Set(suite::BlockKey{0}, suite::ByteOffset{0});
  window.when = [](const std::string& call) { return call.rfind("PostStatus(快速预读", 0) == 0; };
  EXPECT_EQ(QuickPreRead(window, context), -1);
  EXPECT_TRUE(window.cut);
  EXPECT_EQ(window.messages.back(), "预读失败: 目标文件在读取时被截短! 快速索引保持不变。");
  EXPECT_EQ(QuickIndexText(context.quickIndex), "_mp[0]=0;\r\n");
  EXPECT_TRUE(window.ControlsEnabled());
}

TEST_F(CutTargetTest, TheSearch) {
  std::string text;
  for (int i = 0; i < 300000; ++i) text += "hit " + std::to_string(i) + "\r\n";
  Target(text);
  window.SetFormText(FormText::Keyword, "hit");
  window.RefreshForm();
  ASSERT_EQ(QuickPreRead(window, context), 0);
  window.when = [](const std::string& call) { return call == "ListAppend(Results)"; };
  EXPECT_EQ(Search(window, context), -1);
  EXPECT_TRUE(window.cut);
  EXPECT_EQ(window.messages.back(), "搜索失败: 目标文件在读取时被截短!");
  EXPECT_TRUE(window.ControlsEnabled());
}

// Cut behind the windows being read (the first checkpoint comes in the first
// 1 MiB window, the window after it is searched alongside): no mapped byte is
// lost, and the next window finds the file shorter. Not a search that ended.
TEST_F(CutTargetTest, TheSearchCutBetweenTwoWindows) {
  std::string text;
  for (int i = 0; i < 300000; ++i) text += "hit " + std::to_string(100000 + i) + "\r\n";  // 3.6 MB
  Target(text);
  window.SetFormText(FormText::Keyword, "hit 1000");
  window.RefreshForm();
  ASSERT_EQ(QuickPreRead(window, context), 0);
  window.cutTo = (2 << 20) + 100;
  window.when = [](const std::string& call) { return call == "ProgressStep"; };
  EXPECT_EQ(Search(window, context, 1 << 20), -1);
  EXPECT_TRUE(window.cut);
  EXPECT_EQ(window.messages.back(), "搜索失败: 目标文件在读取时被截短!");
  EXPECT_TRUE(window.ControlsEnabled());
}

// A search cut under a matching line leaves result files of whole records
// (the line is copied from the mapped target after its record's prefix is
// written), drops a file left without any, and its figures count what the
// files hold.
class CutSearchTest : public CutTargetTest {
 protected:
  // 30000 matching lines: files 000000 to 000014 of 2000 records each.
  void SearchCutAt(const std::string& call) {
    std::string text;
    for (int i = 1; i <= 30000; ++i) text += "hit " + std::to_string(i) + "\r\n";
    Target(text);
    window.SetFormText(FormText::Keyword, "hit");
    window.RefreshForm();
    ASSERT_EQ(QuickPreRead(window, context), 0);
    window.when = [call](const std::string& made) { return made == call; };
    EXPECT_EQ(Search(window, context), -1);
    EXPECT_TRUE(window.cut);
    EXPECT_EQ(window.messages.back(), "搜索失败: 目标文件在读取时被截短!");
  }

  // The result files in the history directory, each checked record by record.
  int64_t WholeRecordsInFiles(int files) {
    int64_t records = 0;
    for (int number = 0; number < files; ++number) {
      const std::string content = suite::testing::ReadFile(context.historyDirectory + "/" + ResultFileName(number));
      size_t at = 0;
      while (at < content.size()) {
        const size_t end = content.find("\r\n", at);
        if (end == std::string::npos) {
          ADD_FAILURE() << ResultFileName(number) << " ends in a half record: " << content.substr(at);
          return -1;
        }
        ++records;
        EXPECT_EQ(content.substr(at, end - at), FormatResultRecord(records, records, "hit " + std::to_string(records)).substr(0, end - at));
        at = end + 2;
      }
    }
    return records;
  }

  std::vector<std::string> FileNames() const {
    std::vector<std::string> names;
    for (const auto& entry : window.List(ListControl::ResultFiles).entries) names.push_back(entry.text);
    return names;
  }
};

TEST_F(CutSearchTest, UnderTheFirstRecordOfAFile) {
  SearchCutAt("ListAppend(ResultFiles, 000003.txt)");
  EXPECT_EQ(FileNames(), (std::vector<std::string>{"000000.txt", "000001.txt", "000002.txt"}));
  EXPECT_FALSE(std::filesystem::exists(context.historyDirectory + "/000003.txt"));
  EXPECT_EQ(WholeRecordsInFiles(3), 6000);
  EXPECT_EQ(suite::ToUtf8(window.Form().resultsText), "共 0 6000 行");
  EXPECT_EQ(window.List(ListControl::Results).entries.size(), 2000u);
}

TEST_F(CutSearchTest, AfterTheFirstRecordsOfAFile) {
  // The checkpoint of line 10000 comes before that line's record, the 2000th
  // of 000004.txt.
  SearchCutAt("ProgressStep");
  EXPECT_EQ(FileNames().size(), 5u);
  EXPECT_EQ(WholeRecordsInFiles(5), 9999);
  EXPECT_EQ(suite::ToUtf8(window.Form().resultsText), "共 0 9999 行");
}

TEST_F(CutTargetTest, TheVirtualPage) {
  std::string text;
  for (int i = 1; i <= 20000; ++i) text += "line " + std::to_string(i) + "\r\n";
  const std::string target = Target(text);
  ASSERT_EQ(QuickPreRead(window, context), 0);
  context.targetPath = target;
  window.SetFormNumber(FormNumber::CentreLine, 15000);
  window.SetFormNumber(FormNumber::HalfPage, 100);
  window.when = [](const std::string& call) { return call == "ListAppendColoured"; };
  EXPECT_EQ(CenterVirtualPage(window, context), -1);
  EXPECT_TRUE(window.cut);
  EXPECT_EQ(window.messages.back(), "读取目标文件 " + target + " 时出错! 目标文件在读取时被截短，虚页面不完整。");
  EXPECT_TRUE(window.ControlsEnabled());
}

}  // namespace
}  // namespace lorvane
