#include "searcher/engine/search_update.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "common/codepage.h"
#include "common/held_directory.h"
#include "recording_window.h"
#include "searcher/engine/keyword_search.h"
#include "searcher/engine/quick_pre_read.h"
#include "searcher/engine/search_context.h"
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

void Append(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

// Every file of a history by name, the descriptor without its first line
// (the directory, which differs from history to history).
std::map<std::string, std::string> HistoryFiles(const std::string& directory) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    const std::string name = entry.path().filename().string();
    std::string bytes = ReadFile(entry.path().string());
    if (name == kDescriptorName) bytes = bytes.substr(bytes.find('\n') + 1);
    files[name] = bytes;
  }
  return files;
}

class SearchUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    suite::SetActiveCodePage(suite::CodePage::Gbk);
    log = dir / "grows.log";
    context.workDirectory = dir / "__Lorvane__";
  }

  // Pre-reads and searches the log as the window does, into a new history.
  int Search(SearchContext& into, RecordingWindow& on) {
    into.workDirectory = context.workDirectory;
    on.SetFormText(FormText::FilePath, log);
    on.SetFormText(FormText::Keyword, "hit");
    on.SetMatchCase(false);
    on.RefreshForm();
    if (QuickPreRead(on, into) != 0) return -1;
    return lorvane::Search(on, into, kWindow);
  }

  // Goes on with the history, then checks it against a fresh search of the
  // log. Each step reads through windows of another size, down to a few
  // times the keyword.
  void UpdateAndCompare(const std::string& step) {
    static constexpr size_t kWindows[] = {64, 300, kWindow, size_t{1} << 20};
    const size_t windowSize = kWindows[steps_++ % std::size(kWindows)];
    SCOPED_TRACE(step + ", windows of " + std::to_string(windowSize));
    window.messages.clear();
    ContinuedSearch continued;
    ASSERT_EQ(ContinueSearch(window, context, &continued, windowSize), 0) << window.messages.back();
    SearchContext fresh;
    RecordingWindow freshWindow;
    ASSERT_EQ(Search(fresh, freshWindow), 0);
    EXPECT_EQ(HistoryFiles(context.historyDirectory), HistoryFiles(fresh.historyDirectory));
    EXPECT_EQ(context.quickIndex.Entries(), fresh.quickIndex.Entries());
    EXPECT_EQ(context.totalLineCount, fresh.totalLineCount);
    EXPECT_EQ(context.targetIdentity, fresh.targetIdentity);
    EXPECT_EQ(window.Form().resultsText, freshWindow.Form().resultsText);
    EXPECT_EQ(window.Form().totalLinesText, freshWindow.Form().totalLinesText);
    EXPECT_EQ(continued.lines.value, fresh.totalLineCount);
    std::filesystem::remove_all(fresh.historyDirectory);
  }

  static constexpr size_t kWindow = 4096;
  int steps_ = 0;
  TempDir dir;
  std::string log;
  RecordingWindow window;
  SearchContext context;
};

// Lines of a few lengths, one in `every` with the keyword.
std::string SomeLines(int count, int every, std::mt19937& random) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text.append(random() % 30, 'x');
    if (random() % every == 0) text += random() % 2 ? "HIT" : "hit";
    if (random() % 700 == 0) text.append(6000, 'y');  // longer than a window
    text += random() % 3 ? "\r\n" : "\n";
  }
  return text;
}

TEST_F(SearchUpdateTest, AHistoryThatGoesOnIsWhatAFreshSearchWrites) {
  std::mt19937 random(20261210);
  WriteFile(log, SomeLines(9000, 5, random));
  ASSERT_EQ(Search(context, window), 0);

  Append(log, SomeLines(1500, 4, random));  // over the 2000 records of a file, and past line 10000
  UpdateAndCompare("whole lines");
  Append(log, "the last hit, with no LF yet");
  UpdateAndCompare("a partial last line that matches");
  Append(log, " and now its end\r\n" + SomeLines(50, 3, random));
  UpdateAndCompare("its completion");
  Append(log, "no keyword so f");
  UpdateAndCompare("a partial last line that doesn't match");
  Append(log, "ar, until now: hIt\n");
  UpdateAndCompare("completed into one that does");
  Append(log, "\r");
  UpdateAndCompare("a CR alone at the end");
  Append(log, "\n" + SomeLines(12000, 6, random));
  UpdateAndCompare("its LF, and a block of lines more");

  // Nothing appended: nothing changes, and it says so.
  const auto before = HistoryFiles(context.historyDirectory);
  window.messages.clear();
  ContinuedSearch continued;
  EXPECT_EQ(ContinueSearch(window, context, &continued, kWindow), 0);
  EXPECT_EQ(window.messages.back(), "继续搜索完毕。目标文件在搜索后没有新增内容。");
  EXPECT_FALSE(continued.grew);
  EXPECT_EQ(continued.firstNewResult, 0);
  EXPECT_EQ(HistoryFiles(context.historyDirectory), before);
}

// A log written in pieces cut anywhere: between CR and LF, inside a GBK
// character (whose trail byte may be the keyword's first letter), inside the
// keyword itself.
TEST_F(SearchUpdateTest, PiecesCutAnywhereGoOnAsAFreshSearch) {
  std::mt19937 random(20261211);
  std::string text;
  for (int line = 0; line < 3000; ++line) {
    for (int part = random() % 6; part > 0; --part) {
      static const char* const kParts[] = {"x", "hit", "HiT", "\xBBhit", "\xD3\xC3\xBB\xA7", "h", "it", "\r"};
      text += kParts[random() % std::size(kParts)];
    }
    text += random() % 2 ? "\r\n" : "\n";
  }
  size_t at = random() % 200;
  WriteFile(log, text.substr(0, at));
  ASSERT_EQ(Search(context, window), 0);
  while (at < text.size()) {
    const size_t piece = std::min(text.size() - at, static_cast<size_t>(1 + random() % 4000));
    Append(log, text.substr(at, piece));
    at += piece;
    UpdateAndCompare("up to byte " + std::to_string(at));
    if (::testing::Test::HasFailure()) break;
  }
}

// A search that stopped right at the end of a block of the quick index: the
// next block's first line is the first line the update reads, and its entry
// comes from where the update starts, not from an LF it passes.
TEST_F(SearchUpdateTest, AHistoryThatEndsWithABlockGoesOnWithTheNextOne) {
  std::mt19937 random(20261212);
  WriteFile(log, SomeLines(10000, 5, random));
  ASSERT_EQ(Search(context, window), 0);
  Append(log, SomeLines(3, 2, random));
  UpdateAndCompare("a block's first lines after a history of exactly one block");
  Append(log, SomeLines(9996, 7, random) + "the 20000th line, hit, without its LF");
  UpdateAndCompare("up to the last line of the second block, without its LF");
  Append(log, "\r\n");
  UpdateAndCompare("its LF");
  Append(log, "the first line of the third block\n");
  UpdateAndCompare("the third block's first line");
}

TEST_F(SearchUpdateTest, AnEmptyLogAndOneWithoutResultsGoOnToo) {
  WriteFile(log, "");
  ASSERT_EQ(Search(context, window), 0);
  Append(log, "nothing here\n");
  UpdateAndCompare("lines without the keyword");
  Append(log, "a hit at last\n");
  UpdateAndCompare("the first result");
}

TEST_F(SearchUpdateTest, ALogNoLongerTheOneSearchedIsRefusedAndTheHistoryKept) {
  WriteFile(log, "one hit\r\ntwo\r\nthree hit\r\n");
  ASSERT_EQ(Search(context, window), 0);
  const auto kept = HistoryFiles(context.historyDirectory);
  const auto refused = [&](const std::string& message) {
    window.messages.clear();
    EXPECT_EQ(ContinueSearch(window, context, nullptr, kWindow), -1);
    EXPECT_EQ(window.messages.back(), message);
    EXPECT_EQ(HistoryFiles(context.historyDirectory), kept);
  };

  // Held by another update.
  {
    suite::HeldDirectory held;
    ASSERT_TRUE(held.Hold(context.historyDirectory));
    window.messages.clear();
    EXPECT_EQ(ContinueSearch(window, context, nullptr, kWindow), -1);
    EXPECT_EQ(window.messages.back(), "继续搜索失败: 这个搜索历史正在被另一个搜索使用!");
  }
  // Looked at once the hold is gone: under Wine the standard library's
  // listing can't open a held directory.
  EXPECT_EQ(HistoryFiles(context.historyDirectory), kept);
  // Cut, then written again past where the search stopped.
  const std::string text = ReadFile(log);
  std::filesystem::resize_file(log, 10);
  Append(log, "changed hit\r\nand grown far beyond what it was\r\n");
  refused("继续搜索失败: 目标文件在搜索后被截短或改写，请重新搜索!");
  // Rotated: another file at the name.
  std::filesystem::rename(log, dir / "grows.log.1");
  WriteFile(log, "a new log hit\r\n" + text);
  refused("继续搜索失败: 目标文件已被另一个文件替换，请重新搜索!");
  std::filesystem::remove(log);
  refused("继续搜索失败: CLVNResultCheck: 目标文件不存在! 路径[" + log + "]");
  std::filesystem::rename(dir / "grows.log.1", log);

  // A history from before logs had identities can't know where it stopped.
  std::filesystem::remove(context.historyDirectory + "/" + kIdentityFileName);
  Append(log, "more hit\r\n");
  window.messages.clear();
  EXPECT_EQ(ContinueSearch(window, context, nullptr, kWindow), -1);
  EXPECT_NE(window.messages.back().find("没有记下它的目标文件是哪个文件"), std::string::npos);

  // No history at all.
  SearchContext none;
  window.messages.clear();
  EXPECT_EQ(ContinueSearch(window, none), -1);
  EXPECT_EQ(window.messages.back(), "继续搜索失败: 还没有可以继续的搜索，请先搜索，或恢复一个搜索历史!");
}

// F8 goes on with the search the window shows, not with one of a file
// pre-read since.
TEST_F(SearchUpdateTest, TheKeyGoesOnWithTheSearchShownOnly) {
  WriteFile(log, "one hit\r\n");
  window.SetFormText(FormText::FilePath, log);
  window.RefreshForm();
  EXPECT_EQ(QuickPreRead(window, context), 0);
  OnContinueSearchKey(window, context);
  EXPECT_FALSE(window.Called("StartWorker(ContinueSearch)"));
  EXPECT_EQ(window.messages.back(), "继续搜索失败: 还没有可以继续的搜索，请先搜索，或恢复一个搜索历史!");
  ASSERT_EQ(Search(context, window), 0);
  OnContinueSearchKey(window, context);
  EXPECT_TRUE(window.Called("StartWorker(ContinueSearch)"));
}

TEST_F(SearchUpdateTest, WhatAnUpdateCutShortLeftIsDroppedOrFinished) {
  WriteFile(log, "one hit\r\n");
  ASSERT_EQ(Search(context, window), 0);
  const std::string history = context.historyDirectory;
  // Staged files without their descriptor: an update that never decided.
  WriteFile(history + "/000000.txt.next", "0000000001|0000000001| not this\r\n");
  WriteFile(history + "/result.identity.next", "damaged");
  // A restore leaves an update under way elsewhere (its directory held) alone...
  {
    suite::HeldDirectory held;
    ASSERT_TRUE(held.Hold(history));
    SearchContext restored;
    EXPECT_TRUE(ResultLoad(window, restored, history + "/" + kDescriptorName));
    EXPECT_TRUE(std::filesystem::exists(history + "/000000.txt.next"));
  }
  // ... and an update drops what one cut short left.
  Append(log, "two hit\r\n");
  UpdateAndCompare("over leftovers of an update cut short");
  EXPECT_FALSE(std::filesystem::exists(history + "/000000.txt.next"));
  EXPECT_FALSE(std::filesystem::exists(history + "/result.identity.next"));
  // An update cut short after its descriptor was staged: a restore finishes it.
  const auto before = HistoryFiles(history);
  std::filesystem::copy_file(history + "/000000.txt", history + "/000000.txt.next");
  std::filesystem::copy_file(history + "/" + kDescriptorName, history + "/" + kDescriptorName + ".next");
  std::filesystem::remove(history + "/000000.txt");
  SearchContext restored;
  EXPECT_TRUE(ResultLoad(window, restored, history + "/" + kDescriptorName));
  EXPECT_EQ(HistoryFiles(history), before);
}

}  // namespace
}  // namespace lorvane
