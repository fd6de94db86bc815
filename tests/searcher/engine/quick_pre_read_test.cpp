#include "searcher/engine/quick_pre_read.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/codepage.h"
#include "common/exclusive_file.h"
#include "recording_window.h"
#include "searcher/engine/search_context.h"
#include "test_support/temp_dir.h"

namespace lorvane {
namespace {

using suite::testing::TempDir;
using suite::testing::WriteFile;
using testing::RecordingWindow;

std::string Lines(int count, const std::string& end, const std::string& text = "line") {
  std::string bytes;
  for (int i = 0; i < count; ++i) bytes += text + end;
  return bytes;
}

class QuickPreReadTest : public ::testing::Test {
 protected:
  void SetUp() override { suite::SetActiveCodePage(suite::CodePage::Gbk); }

  int PreRead(const std::string& path, size_t blockSize = suite::kMapWindowSize) {
    window.SetFormText(FormText::FilePath, path);
    window.RefreshForm();
    window.calls.clear();
    window.messages.clear();
    return QuickPreRead(window, context, blockSize);
  }

  TempDir dir;
  RecordingWindow window;
  SearchContext context;
};

TEST_F(QuickPreReadTest, ThreeShortLinesGiveOneEntryAndTheMessagesInOrder) {
  const int result = PreRead(WriteFile(dir / "a.log", "a\r\nbb\r\nccc\r\n"));
  EXPECT_EQ(result, 0);
  ASSERT_EQ(window.messages.size(), 4u);
  // The code page in use is named: plain ASCII is read as GBK, found or forced.
  EXPECT_EQ(window.messages[2].rfind("目标文件的代码页 GBK(", 0), 0u) << window.messages[2];
  window.messages.erase(window.messages.begin() + 2);
  EXPECT_EQ(window.messages, (std::vector<std::string>{
                                 "CLorvaneDlg::_thr_quick_analyze_object_file()",
                                 "快速预读: 正在创建快速索引 _mp[0] = 0",
                                 "预读完毕。目标文件共 0 0003 行。",
                             }));
  EXPECT_EQ(window.Form().sizeText, "12B");
  EXPECT_EQ(suite::ToUtf8(window.Form().totalLinesText), "共 0 0003 行");
  EXPECT_EQ(context.totalLineCount, 3);
  EXPECT_EQ(QuickIndexText(context.quickIndex), "_mp[0]=0;\r\n");
  EXPECT_EQ(context.workerDone, 1);

  // Lock first, reset, then the splash; unlock before the final message; the
  // keyword edit gets the focus and the slider spans the lines.
  const long lock = window.IndexOf("EnableControls(0,1)");
  const long reset = window.IndexOf("ResetResultViews()");
  const long splash = window.IndexOf("ShowSplash()");
  const long unlock = window.IndexOf("EnableControls(1,1)");
  EXPECT_TRUE(lock >= 0 && lock < reset && reset < splash && splash < unlock);
  EXPECT_LT(unlock, window.IndexOf("PostStatus(" + suite::Cp("预读完毕。目标文件共 0 0003 行。") + ")"));
  EXPECT_TRUE(window.Called("ProgressSetRange(0,0)"));
  EXPECT_TRUE(window.Called("ProgressSetStep(1)"));
  EXPECT_EQ(window.Count("ProgressStep()"), 1);
  EXPECT_TRUE(window.Called("ProgressSetPosition(0)"));
  EXPECT_TRUE(window.Called("SelectAllText(Keyword)"));
  EXPECT_EQ(window.Focus(), EditControl::Keyword);
  EXPECT_TRUE(window.Slider().shown);
  EXPECT_EQ(window.Slider().low, 1);
  EXPECT_EQ(window.Slider().high, 3);
  EXPECT_EQ(window.Slider().position, 1);
  EXPECT_EQ(window.Slider().tickFrequency, 1);
  EXPECT_TRUE(window.ControlsEnabled());
  EXPECT_FALSE(window.Progress().shown);
  EXPECT_FALSE(window.Called("StartWorker(Search)"));
}

TEST_F(QuickPreReadTest, EmptyTargetHasNoEntry) {
  EXPECT_EQ(PreRead(WriteFile(dir / "empty.log", "")), 0);
  EXPECT_EQ(context.totalLineCount, 0);
  EXPECT_TRUE(context.quickIndex.Empty());
  EXPECT_EQ(window.Form().sizeText, "0B");
  EXPECT_EQ(suite::ToUtf8(window.Form().totalLinesText), "共 0 0000 行");
  EXPECT_EQ(window.Slider().low, 1);
  EXPECT_EQ(window.Slider().high, 0);
  EXPECT_EQ(QuickIndexText(context.quickIndex), "");
  EXPECT_EQ(window.messages.size(), 3u);  // no index entry between start, code page and end
}

TEST_F(QuickPreReadTest, EntriesStartAtEvery10000thLineWithRealOffsets) {
  for (size_t blockSize : {size_t{5}, size_t{4096}, suite::kMapWindowSize}) {
    SCOPED_TRACE(blockSize);
    // CR LF: 10000 lines need one entry, 10001 two.
    PreRead(WriteFile(dir / "10000.log", Lines(10000, "\r\n")), blockSize);
    EXPECT_EQ(QuickIndexText(context.quickIndex), "_mp[0]=0;\r\n");
    PreRead(WriteFile(dir / "10001.log", Lines(10001, "\r\n")), blockSize);
    EXPECT_EQ(QuickIndexText(context.quickIndex), "_mp[0]=0;\r\n_mp[1]=60000;\r\n");
    EXPECT_EQ(suite::ToUtf8(window.Form().totalLinesText), "共 1 0001 行");
    // LF alone: the offsets are the real positions, not length plus 2.
    PreRead(WriteFile(dir / "lf.log", Lines(25000, "\n")), blockSize);
    EXPECT_EQ(QuickIndexText(context.quickIndex), "_mp[0]=0;\r\n_mp[1]=50000;\r\n_mp[2]=100000;\r\n");
    EXPECT_EQ(context.totalLineCount, 25000);
  }
  EXPECT_EQ(window.messages[2], "快速预读: 正在创建快速索引 _mp[1] = 50000");
}

TEST_F(QuickPreReadTest, ProgressBarAssumes64BytesALine) {
  // 1,280,000 bytes: range 0..2; 20000 lines step twice.
  PreRead(WriteFile(dir / "p.log", Lines(20000, "\r\n", std::string(62, 'x'))));
  EXPECT_TRUE(window.Called("ProgressSetRange(0,2)"));
  EXPECT_EQ(window.Count("ProgressStep()"), 2);
}

TEST_F(QuickPreReadTest, EndOfTextByteAndMissingFinalLf) {
  PreRead(WriteFile(dir / "eof.log", "one\r\ntwo\x1Athree\r\nfour\r\n"));
  EXPECT_EQ(context.totalLineCount, 2);
  EXPECT_EQ(window.Form().sizeText, "22B");  // the size is the file's, not the text's
  PreRead(WriteFile(dir / "nolf.log", "one\r\ntwo"));
  EXPECT_EQ(context.totalLineCount, 2);
}

TEST_F(QuickPreReadTest, BinaryAndHugeLinesArePreReadWithoutComplaint) {
  std::string binary;
  for (int i = 0; i < 100000; ++i) binary += static_cast<char>((i * 7919) % 256 == 0x1A ? 0 : (i * 7919) % 256);
  PreRead(WriteFile(dir / "bin.dat", binary));
  EXPECT_EQ(window.messages.back().rfind("预读完毕。", 0), 0u);

  const std::string huge(20'000'000, 'h');
  EXPECT_EQ(PreRead(WriteFile(dir / "huge.log", "a\n" + huge + "\nb\n")), 0);
  EXPECT_EQ(context.totalLineCount, 3);
  EXPECT_EQ(window.Form().sizeText, "19M 75K 261B");
}

TEST_F(QuickPreReadTest, AFailedOpenLeavesTheContextAsItWas) {
  PreRead(WriteFile(dir / "good.log", Lines(10001, "\r\n")));
  const std::string oldSize = window.Form().sizeText;
  const std::string oldTotal = window.Form().totalLinesText;
  window.ListAppend(ListControl::Results, "an old result");
  window.SetFormText(FormText::ReadLines, "old read lines");

  const std::string locked = WriteFile(dir / "locked.log", "x\r\n");
  suite::ExclusiveFile holder;
  ASSERT_TRUE(holder.Open(locked));
  const std::string heldText = "预读失败: 打开目标文件失败! 可能由于其它程序正在写/独享目标文件。";
  const std::string missingText = "预读失败: 目标文件不存在!";
  for (const auto& [target, text] : std::vector<std::pair<std::string, std::string>>{
           {locked, heldText}, {dir.Path(), heldText}, {dir / "missing.log", missingText},
           {dir / "missing/a.log", missingText}}) {
    SCOPED_TRACE(target);
    context.workerDone = 0;
    EXPECT_EQ(PreRead(target), -1);
    EXPECT_EQ(window.messages, (std::vector<std::string>{"CLorvaneDlg::_thr_quick_analyze_object_file()", text}));
    EXPECT_EQ(context.totalLineCount, 10001);
    EXPECT_EQ(context.quickIndex.Size(), 2);
    EXPECT_EQ(window.Form().sizeText, oldSize);
    EXPECT_EQ(window.Form().totalLinesText, oldTotal);
    EXPECT_EQ(window.Form().readLinesText, "");
    EXPECT_EQ(window.List(ListControl::Results).entries.size(), 0u);
    EXPECT_TRUE(window.ControlsEnabled());
    EXPECT_FALSE(window.Called("ShowSplash()"));
    EXPECT_EQ(context.workerDone, 0);
  }
}

TEST_F(QuickPreReadTest, AutomaticSearchFollowsEveryCompletedPreRead) {
  window.SetAutoSearch(true);
  EXPECT_EQ(PreRead(WriteFile(dir / "a.log", "x\r\n")), 0);
  EXPECT_TRUE(window.Called("StartWorker(Search)"));
  EXPECT_GT(window.IndexOf("StartWorker(Search)"), window.IndexOf("SliderSetPosition(1)"));
  EXPECT_EQ(PreRead(dir / "missing.log"), -1);
  EXPECT_FALSE(window.Called("StartWorker(Search)"));
}

TEST_F(QuickPreReadTest, QuickIndexTextListsEveryEntry) {
  PreRead(WriteFile(dir / "25000.log", Lines(25000, "\r\n", "ab")));
  EXPECT_EQ(QuickIndexText(context.quickIndex), "_mp[0]=0;\r\n_mp[1]=40000;\r\n_mp[2]=80000;\r\n");
}

TEST_F(QuickPreReadTest, MessagesFollowTheUtf8CodePage) {
  suite::SetActiveCodePage(suite::CodePage::Utf8);
  PreRead(WriteFile(dir / "a.log", "x\r\n"));
  EXPECT_EQ(window.messages.back(), "预读完毕。目标文件共 0 0001 行。");
  EXPECT_EQ(window.Form().totalLinesText, "共 0 0001 行");
  suite::SetActiveCodePage(suite::CodePage::Gbk);
}

}  // namespace
}  // namespace lorvane
