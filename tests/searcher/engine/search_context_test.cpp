#include "searcher/engine/search_context.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/codepage.h"
#include "common/path_util.h"
#include "recording_window.h"
#include "searcher/engine/count_text.h"
#include "test_support/temp_dir.h"

namespace lorvane {
namespace {

using suite::testing::TempDir;
using suite::testing::WriteFile;

TEST(CountTextTest, GroupsByTenThousand) {
  suite::SetActiveCodePage(suite::CodePage::Gbk);
  const std::pair<int64_t, const char*> cases[] = {
      {0, "共 0 0000 行"},       {123, "共 0 0123 行"},         {9999, "共 0 9999 行"},
      {10000, "共 1 0000 行"},   {120005, "共 12 0005 行"},     {123456, "共 12 3456 行"},
      {3000000000, "共 300000 0000 行"},
  };
  for (const auto& [count, text] : cases) EXPECT_EQ(suite::ToUtf8(FormatCountText(count)), text) << count;
  EXPECT_EQ(suite::ToUtf8(FormatReadLinesText(25000)), "读入 25000 行");
  // In GBK the text is GBK bytes: 共 is 0xB9 0xB2.
  EXPECT_EQ(FormatCountText(0).substr(0, 2), "\xB9\xB2");
}

TEST(SearchContextTest, StartUpMakesTheWorkDirectories) {
  TempDir dir;
  testing::RecordingWindow window;
  SearchContext context;
  StartUpEngine(window, context, dir.Path() + "/__Lorvane__");
  EXPECT_EQ(window.messages, std::vector<std::string>{"CLorvaneDlg::__initiate()"});
  EXPECT_EQ(context.workDirectory, dir / "__Lorvane__");
  EXPECT_EQ(context.clipboardDirectory, dir / "__Lorvane__/__Clipboard__");
  EXPECT_TRUE(std::filesystem::is_directory(context.clipboardDirectory));
  EXPECT_EQ(context.extensions, (std::vector<std::string>{"txt", "log", "h", "c", "cpp", "cfg", "lvn"}));
  EXPECT_EQ(context.workerDone, 0);
  EXPECT_EQ(context.totalLineCount, 0);
}

TEST(SearchContextTest, StartUpInAnUnwritableDirectoryStillCompletes) {
  TempDir dir;
  const std::string notADirectory = WriteFile(dir / "file", "x");
  testing::RecordingWindow window;
  SearchContext context;
  StartUpEngine(window, context, notADirectory + "/__Lorvane__");
  EXPECT_EQ(context.workDirectory, notADirectory + "/__Lorvane__");
  EXPECT_FALSE(suite::PathExists(context.workDirectory));
  // A history directory that can't be made is named all the same, without waiting forever.
  MakeHistoryDirectory(context);
  EXPECT_EQ(context.historyDirectory.rfind(context.workDirectory + "/", 0), 0u);
  EXPECT_FALSE(suite::PathExists(context.historyDirectory));
}

TEST(SearchContextTest, HistoryDirectoriesAreNeverShared) {
  TempDir dir;
  SearchContext context;
  context.workDirectory = dir / "__Lorvane__";  // deleted while the program ran: made again
  MakeHistoryDirectory(context);
  const std::string first = context.historyDirectory;
  MakeHistoryDirectory(context);
  const std::string second = context.historyDirectory;
  EXPECT_NE(first, second);
  EXPECT_TRUE(std::filesystem::is_directory(first));
  EXPECT_TRUE(std::filesystem::is_directory(second));
  const std::string name = second.substr(context.workDirectory.size() + 1);
  EXPECT_EQ(name.size(), 15u);
  EXPECT_EQ(name[8], '_');
}

TEST(SearchContextTest, EnsureHistoryDirectoryKeepsAnExistingOneAndReplacesAMissingOne) {
  TempDir dir;
  SearchContext context;
  context.workDirectory = dir / "__Lorvane__";
  EnsureHistoryDirectory(context);  // no search yet
  const std::string made = context.historyDirectory;
  EXPECT_TRUE(std::filesystem::is_directory(made));
  EnsureHistoryDirectory(context);
  EXPECT_EQ(context.historyDirectory, made);
  std::filesystem::remove_all(context.workDirectory);
  EnsureHistoryDirectory(context);
  EXPECT_TRUE(std::filesystem::is_directory(context.historyDirectory));
}

}  // namespace
}  // namespace lorvane
