#include "searcher/engine/virtual_page.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/exclusive_file.h"
#include "recording_window.h"
#include "searcher/engine/keyword_search.h"
#include "searcher/engine/quick_pre_read.h"
#include "searcher/engine/result_paging.h"
#include "searcher/engine/search_context.h"
#include "test_support/temp_dir.h"

namespace lorvane {
namespace {

using suite::testing::ReadFile;
using suite::testing::TempDir;
using suite::testing::WriteFile;
using testing::RecordingWindow;

// "line 1" .. "line n", with "Error" on every 7th line and "ERROR" on every 11th.
std::string Target(int lines, const std::string& end = "\r\n") {
  std::string text;
  for (int i = 1; i <= lines; ++i) {
    text += "line\t" + std::to_string(i);
    if (i % 7 == 0) text += " Error";
    if (i % 11 == 0) text += " ERROR";
    text += end;
  }
  return text;
}

// Line i of Target as the page shows it.
std::string Shown(int i) {
  return "line  " + std::to_string(i) + (i % 7 ? "" : " Error") + (i % 11 ? "" : " ERROR");
}

class VirtualPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    suite::SetActiveCodePage(suite::CodePage::Gbk);
    context.workDirectory = dir / "__Lorvane__";
  }

  // Pre-read and a search for `keyword`, as a user does before choosing a result.
  void Prepare(const std::string& text, const std::string& keyword = "Error", bool matchCase = true) {
    window.SetFormText(FormText::FilePath, WriteFile(dir / "t.log", text));
    window.SetFormText(FormText::Keyword, keyword);
    window.SetMatchCase(matchCase);
    window.RefreshForm();
    ASSERT_EQ(QuickPreRead(window, context), 0);
    ASSERT_EQ(Search(window, context), 0);
    window.calls.clear();
    window.messages.clear();
  }

  std::vector<std::string> Page() const {
    std::vector<std::string> texts;
    for (const auto& entry : window.List(ListControl::VirtualPage).entries) texts.push_back(entry.text);
    return texts;
  }
  Rgb Colour(size_t index) const { return window.List(ListControl::VirtualPage).entries.at(index).colour; }

  int PageOf(int64_t centre, int64_t half) {
    window.SetFormNumber(FormNumber::CentreLine, centre);
    window.SetFormNumber(FormNumber::HalfPage, half);
    window.messages.clear();
    return CenterVirtualPage(window, context);
  }

  TempDir dir;
  RecordingWindow window;
  SearchContext context;
};

TEST_F(VirtualPageTest, NearTheStartThePageIsCut) {
  Prepare(Target(50));
  EXPECT_EQ(PageOf(3, 5), 0);
  EXPECT_EQ(Page().size(), 8u);
  EXPECT_EQ(Page().front(), "line  1");  // tabs show as two blanks
  EXPECT_EQ(window.List(ListControl::VirtualPage).selection, 2);
  EXPECT_EQ(window.messages, (std::vector<std::string>{"CLorvaneDlg::_thr_center_virtual_page()",
                                                       "找到快速索引 _mp[0]，直接将文件指针定位在 0",
                                                       "从目标文件中成功读入 8 条原始记录。"}));
  EXPECT_EQ(window.Form().startLine, 3);
  EXPECT_EQ(window.Slider().position, 3);
  EXPECT_TRUE(window.Called("EnableControls(0,0)"));
  EXPECT_TRUE(window.ControlsEnabled());
}

TEST_F(VirtualPageTest, DeepLinesComeThroughTheirEntry) {
  for (const std::string end : {"\r\n", "\n"}) {  // LF alone: real offsets show the right lines
    Prepare(Target(30000, end));
    EXPECT_EQ(PageOf(15000, 5), 0);
    EXPECT_EQ(window.messages[1].rfind("找到快速索引 _mp[1]，直接将文件指针定位在 ", 0), 0u);
    ASSERT_EQ(Page().size(), 11u);
    EXPECT_EQ(Page().front(), "line  14995");
    EXPECT_EQ(Page().back(), "line  15005");
    EXPECT_EQ(window.List(ListControl::VirtualPage).selection, 5);
  }
}

// Entry k is line k * 10000 + 1: a page whose first line ends a block is
// read from that block's entry and keeps that line.
TEST_F(VirtualPageTest, APageStartingAtABlockEndHoldsExactlyItsRange) {
  Prepare(Target(30000, "\n"));
  struct Case {
    int64_t centre, half, key, first, last;
  };
  for (const Case& c : {Case{10005, 5, 0, 10000, 10010}, Case{10000, 0, 0, 10000, 10000}, Case{20000, 0, 1, 20000, 20000},
                        Case{11000, 1000, 0, 10000, 12000}, Case{10001, 0, 1, 10001, 10001},
                        Case{30000, 5, 2, 29995, 30000}}) {
    SCOPED_TRACE(c.centre);
    EXPECT_EQ(PageOf(c.centre, c.half), 0);
    EXPECT_EQ(window.messages[1].rfind("找到快速索引 _mp[" + std::to_string(c.key) + "]", 0), 0u) << window.messages[1];
    const auto page = Page();
    ASSERT_EQ(page.size(), static_cast<size_t>(c.last - c.first + 1));
    EXPECT_EQ(page.front(), Shown(static_cast<int>(c.first)));
    EXPECT_EQ(page.back(), Shown(static_cast<int>(c.last)));
    const auto selected = static_cast<size_t>(window.List(ListControl::VirtualPage).selection);
    EXPECT_EQ(page.at(selected), Shown(static_cast<int>(c.centre)));
  }
  // A half page beyond the centre line starts at line 1, through entry 0.
  EXPECT_EQ(PageOf(3, 1000), 0);
  EXPECT_EQ(window.messages[1], "找到快速索引 _mp[0]，直接将文件指针定位在 0");
  EXPECT_EQ(Page().size(), 1003u);
  EXPECT_EQ(window.List(ListControl::VirtualPage).selection, 2);
}

TEST_F(VirtualPageTest, ColoursIgnoreCaseWhateverTheSearchDid) {
  Prepare(Target(100), "Error", true);
  // Line 77 holds "Error" and "ERROR"; line 66 only "ERROR", which the search didn't select.
  PageOf(77, 11);
  const auto page = Page();
  ASSERT_EQ(page[11], "line  77 Error ERROR");
  EXPECT_EQ(Colour(11), kCentreKeywordColour);
  ASSERT_EQ(page[0], "line  66 ERROR");
  EXPECT_EQ(Colour(0), kKeywordColour);
  EXPECT_EQ(Colour(1), kPlainColour);
  // A centre line without the keyword stays black.
  PageOf(76, 1);
  EXPECT_EQ(Colour(1), kPlainColour);
  EXPECT_EQ(Colour(2), kKeywordColour);
}

TEST_F(VirtualPageTest, TypedHalfPagesAreUsedAsTheyAre) {
  Prepare(Target(50));
  PageOf(20, 0);
  EXPECT_EQ(Page(), std::vector<std::string>{"line  20"});
  PageOf(20, -4);
  EXPECT_EQ(Page().size(), 1u);
  PageOf(60, 5);  // beyond the last line
  EXPECT_TRUE(Page().empty());
  EXPECT_EQ(window.messages.back(), "从目标文件中成功读入 0 条原始记录。");
}

// However it was typed, the half page in use is at most 1000.
TEST_F(VirtualPageTest, ATypedHalfPageNeverExceedsTheLimit) {
  Prepare(Target(5000));
  EXPECT_EQ(PageOf(2500, 3000000), 0);
  EXPECT_EQ(Page().size(), 2001u);
  EXPECT_EQ(Page().front(), Shown(1500));
  EXPECT_EQ(window.List(ListControl::VirtualPage).selection, 1000);
}

// A target that opens but can't be read: a failure, never "成功".
TEST_F(VirtualPageTest, AReadErrorIsAFailure) {
  Prepare(Target(50));
  context.targetPath = "/proc/self/mem";  // reading at offset 0 fails
  context.quickIndex.Clear();
  context.targetIdentity.reset();  // not the log searched: as a history from before
  window.ListAppend(ListControl::VirtualPage, "old");
  EXPECT_EQ(PageOf(1, 0), -1);
  EXPECT_EQ(window.messages.back(), "读取目标文件 /proc/self/mem 时出错! 虚页面不完整。");
  EXPECT_TRUE(window.ControlsEnabled());

  window.SetFormText(FormText::FilePath, "/proc/self/mem");
  window.SetFormNumber(FormNumber::StartLine, 1);
  window.SetFormNumber(FormNumber::Offset, 5);
  window.messages.clear();
  EXPECT_EQ(LookAtContent(window, context), -1);
  EXPECT_EQ(window.messages.back(), "查看内容: 失败! 因为读取目标文件 /proc/self/mem 时出错!");
  EXPECT_TRUE(window.OpenedPaths().empty());
  EXPECT_TRUE(window.ControlsEnabled());
}

// A log held by another program can't be opened; one removed since its search
// is gone, and said so.
TEST_F(VirtualPageTest, AHeldOrMissingTargetIsAFailureThatSaysWhich) {
  Prepare(Target(50));
  const std::string target = dir / "t.log";
  window.SetFormNumber(FormNumber::StartLine, 1);
  window.SetFormNumber(FormNumber::Offset, 5);
  {
    suite::ExclusiveFile holder;
    ASSERT_TRUE(holder.Open(target));
    EXPECT_EQ(PageOf(1, 0), -1);
    EXPECT_EQ(window.messages.back(), "打开目标文件 " + target + " 失败! 可能由于其它程序正在写/独享目标文件。");
    EXPECT_EQ(LookAtContent(window, context), -1);
    EXPECT_EQ(window.messages.back(),
              "查看内容: 失败! 因为打开目标文件 " + target + " 失败! 可能由于其它程序正在写/独享目标文件。");
  }
  std::filesystem::remove(target);
  EXPECT_EQ(PageOf(1, 0), -1);
  EXPECT_EQ(window.messages.back(), "目标文件 " + target + " 不存在!");
  EXPECT_EQ(LookAtContent(window, context), -1);
  EXPECT_EQ(window.messages.back(), "查看内容: 失败! 因为目标文件不存在!");
  EXPECT_TRUE(window.OpenedPaths().empty());
  EXPECT_TRUE(window.ControlsEnabled());
}

TEST_F(VirtualPageTest, AStaleEntryFallsBackToTheStart) {
  Prepare(Target(20000));
  WriteFile(dir / "t.log", "short\r\n" + Target(20000));  // changed after its pre-read
  context.targetIdentity.reset();  // as in a history from before, which knows nothing of its log
  PageOf(15001, 0);
  EXPECT_EQ(window.messages[1], "未能发现快速索引 _mp[1]，生成虚页面的时间与文件大小呈线性关系。");
  EXPECT_EQ(Page(), std::vector<std::string>{"line  15000"});
}

// A log replaced or cut since its search shows none of its lines in the page
// or the content view: its index and line numbers are those of the log that
// was searched. One that only grew shows its lines as ever.
TEST_F(VirtualPageTest, ALogReplacedOrCutSinceItsSearchShowsNoLine) {
  const std::string target = dir / "t.log";
  window.SetFormNumber(FormNumber::StartLine, 15001);
  window.SetFormNumber(FormNumber::Offset, 1);
  struct Change {
    bool rotate;  // renamed away, and a new log at the name; else cut in place (copytruncate)
    std::string text;
    std::string why;
  };
  for (const Change& change : {Change{true, "short\r\n" + Target(20000), " 已被另一个文件替换，不能显示它的行，请重新搜索!"},
                               Change{false, Target(100), " 在搜索后被截短或改写，不能显示它的行，请重新搜索!"}}) {
    Prepare(Target(20000));
    if (change.rotate) std::filesystem::rename(target, dir / "t.log.1");
    WriteFile(target, change.text);
    EXPECT_EQ(PageOf(15001, 2), -1);
    EXPECT_EQ(window.messages.back(), "目标文件 " + target + change.why);
    EXPECT_TRUE(Page().empty());
    EXPECT_EQ(LookAtContent(window, context), -1);
    EXPECT_EQ(window.messages.back(), "查看内容: 失败! 因为目标文件 " + target + change.why);
    EXPECT_TRUE(window.OpenedPaths().empty());
    EXPECT_TRUE(window.ControlsEnabled());
  }
  Prepare(Target(20000));
  WriteFile(target, Target(20001));  // grown: lines appended
  EXPECT_EQ(PageOf(15001, 0), 0);
  EXPECT_EQ(Page(), std::vector<std::string>{Shown(15001)});
}

TEST_F(VirtualPageTest, UseExtentClampsTheHalfPage) {
  for (const auto& [typed, kept] : std::vector<std::pair<int64_t, int64_t>>{{0, 1}, {100000, 1000}, {7, 7}}) {
    window.Controls().halfPage = typed;
    window.ListAppend(ListControl::VirtualPage, "old");
    OnBtnUseExtent(window);
    EXPECT_EQ(window.Form().halfPage, kept);
    EXPECT_EQ(window.messages.back(),
              "双击搜索结果表项时，显示该行所在的虚页面，虚页面是该行上下 " + std::to_string(kept) + " 行。");
    EXPECT_TRUE(Page().empty());
    EXPECT_TRUE(window.Edit(EditControl::HalfPage).shown);
  }
  EXPECT_EQ(window.Count("Beep()"), 3);
}

TEST_F(VirtualPageTest, ContentViewChecksAndFiles) {
  Prepare(Target(50));
  window.Controls() = window.Form();
  window.Controls().startLine = 1;
  window.Controls().offset = 1000;
  OnBtnLookAtContent(window, context);
  ASSERT_TRUE(window.Called("StartWorker(LookAtContent)"));
  EXPECT_EQ(LookAtContent(window, context), 0);
  EXPECT_EQ(window.messages.back(), "查看内容: 成功! 从目标文件第 1 行起，成功读入 50 条原始记录。");
  ASSERT_EQ(window.OpenedPaths().size(), 1u);
  const std::string view = window.OpenedPaths()[0];
  EXPECT_EQ(view.rfind(context.historyDirectory + "/_virtual_page_", 0), 0u);
  EXPECT_EQ(ReadFile(view), Target(50));

  window.Controls() = window.Form();
  window.Controls().startLine = 1000000000;
  window.Controls().offset = 0;
  OnBtnLookAtContent(window, context);
  EXPECT_EQ(window.messages.back(), "查看内容: 失败! 因为启始行范围是从 1 到 50。");
  EXPECT_EQ(window.Form().startLine, 50);
  EXPECT_EQ(window.Form().offset, 1);

  window.Controls() = window.Form();
  window.Controls().startLine = 0;
  OnBtnLookAtContent(window, context);
  EXPECT_EQ(window.Form().startLine, 1);
  context.totalLineCount = 0;
  OnBtnLookAtContent(window, context);
  EXPECT_EQ(window.messages.back(), "查看内容: 失败! 因为目标文件为空。");
}

// Two views of one history within a second: each has its own file, so the
// first one's notepad keeps showing its own lines.
TEST_F(VirtualPageTest, TwoContentViewsInOneSecondWriteTwoFiles) {
  Prepare(Target(50));
  window.SetFormNumber(FormNumber::StartLine, 1);
  window.SetFormNumber(FormNumber::Offset, 2);
  ASSERT_EQ(LookAtContent(window, context), 0);
  window.SetFormNumber(FormNumber::StartLine, 3);
  ASSERT_EQ(LookAtContent(window, context), 0);
  ASSERT_EQ(window.OpenedPaths().size(), 2u);
  EXPECT_NE(window.OpenedPaths()[0], window.OpenedPaths()[1]);
  EXPECT_EQ(ReadFile(window.OpenedPaths()[0]), "line\t1\r\nline\t2\r\n");
  EXPECT_EQ(ReadFile(window.OpenedPaths()[1]), "line\t3\r\nline\t4\r\n");
}

TEST_F(VirtualPageTest, ContentViewFromAnEntryAndBeyondTheEnd) {
  Prepare(Target(25000, "\n"));
  window.SetFormNumber(FormNumber::StartLine, 20001);
  window.SetFormNumber(FormNumber::Offset, 2);
  EXPECT_EQ(LookAtContent(window, context), 0);
  EXPECT_EQ(window.messages[1].rfind("查看内容: 找到快速索引 _mp[2]", 0), 0u);
  EXPECT_EQ(ReadFile(window.OpenedPaths().back()), "line\t20001\r\nline\t20002\r\n");
  // A range wholly behind the last line writes nothing and opens nothing.
  const size_t opened = window.OpenedPaths().size();
  window.SetFormNumber(FormNumber::StartLine, 30000);
  EXPECT_EQ(LookAtContent(window, context), 0);
  EXPECT_EQ(window.messages.back(), "查看内容: 成功! 从目标文件第 30000 行起，成功读入 0 条原始记录。");
  EXPECT_EQ(window.OpenedPaths().size(), opened);
}

TEST_F(VirtualPageTest, EditVirtualPageCopiesTheEntries) {
  Prepare(Target(50));
  EditVirtualPage(window, context);  // an empty page does nothing
  EXPECT_TRUE(window.calls.empty());
  PageOf(10, 1);
  EditVirtualPage(window, context);
  ASSERT_EQ(window.DialogTexts().size(), 1u);
  EXPECT_EQ(window.DialogTexts()[0], "line  9\r\nline  10\r\nline  11 ERROR\r\n");
  std::filesystem::remove_all(context.historyDirectory);
  EditVirtualPage(window, context);
  EXPECT_EQ(window.messages.back().rfind("请重新搜索，因为不能创建虚页面临时文件“" + context.historyDirectory + "/_vp", 0), 0u);
}

}  // namespace
}  // namespace lorvane
