// A target cut by another program (a log rotated by copytruncate) while a
// scanner reads it through a mapped window: each scanner reports a failure,
// and the program goes on.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/codepage.h"
#include "recording_window.h"
#include "searcher/engine/keyword_search.h"
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
  }
  void ListAppendColoured(ListControl list, const std::string& text, Rgb colour) override {
    RecordingWindow::ListAppendColoured(list, text, colour);
    CutOnce("ListAppendColoured");
  }
};

class CutTargetTest : public ::testing::Test {
 protected:
  void SetUp() override {
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
  context.quickIndex.Set(0, 0);
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
