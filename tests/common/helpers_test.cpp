#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "common/desktop_shell.h"
#include "common/exclusive_file.h"
#include "common/path_util.h"
#include "common/size_text.h"
#include "common/status_area.h"
#include "common/time_text.h"
#include "test_support/temp_dir.h"

namespace {

using suite::testing::TempDir;
using suite::testing::WriteFile;

TEST(SizeTextTest, UnitBoundaries) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "0B"},
      {1000, "1000B"},
      {1023, "1023B"},
      {1024, "1K 0B"},
      {1536, "1K 512B"},
      {1048575, "1023K 1023B"},
      {1048576, "1M 0K 0B"},
      {1073741823, "1023M 1023K 1023B"},
      {1073741824, "1G 0M 0K 0B"},
      {1610612736, "1G 512M 0K 0B"},
      // Beyond 2 GB the count stays whole.
      {2147483648, "2G 0M 0K 0B"},
      {5368709121, "5G 0M 0K 1B"},
      {-5, "0B"},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(suite::FormatSizeText(bytes), text) << bytes;
}

TEST(SizeTextTest, FileSizeTextOfMissingAndHeldFilesIsEmpty) {
  TempDir dir;
  EXPECT_EQ(suite::FileSizeText(dir / "missing"), "");
  const std::string path = WriteFile(dir / "a.log", std::string(1536, 'x'));
  EXPECT_EQ(suite::FileSizeText(path), "1K 512B");
  EXPECT_EQ(suite::FileSizeText(path), suite::FileSizeText(path));
  suite::ExclusiveFile holder;
  ASSERT_TRUE(holder.Open(path));
  EXPECT_EQ(suite::FileSizeText(path), "");
}

TEST(TimeTextTest, EveryFieldIsPadded) {
  std::tm time{};
  time.tm_year = 2005 - 1900;
  time.tm_mon = 0;
  time.tm_mday = 3;
  time.tm_hour = 4;
  time.tm_min = 5;
  time.tm_sec = 6;
  EXPECT_EQ(suite::MakeTimeStamp(time), "20050103_040506");
  EXPECT_EQ(suite::MakeLogPrefix(time), "[01/03 04:05:06] ");
  EXPECT_EQ(suite::MakeTimeStamp().size(), 15u);
  EXPECT_EQ(suite::MakeLogPrefix().size(), 17u);
}

TEST(PathTest, ExistsAndModuleDirectory) {
  TempDir dir;
  EXPECT_TRUE(suite::PathExists(dir.Path()));
  EXPECT_TRUE(suite::PathExists(WriteFile(dir / "f", "")));
  EXPECT_FALSE(suite::PathExists(dir / "missing"));
  EXPECT_FALSE(suite::PathExists(""));
  const std::string module = suite::GetModuleDirectory();
  ASSERT_FALSE(module.empty());
  EXPECT_EQ(module.back(), '/');
  EXPECT_TRUE(suite::PathExists(module));
  EXPECT_EQ(suite::DirectoryOfPath("/x"), "/");
  EXPECT_EQ(suite::DirectoryOfPath("/a/b/c.exe"), "/a/b/");
  EXPECT_EQ(suite::DirectoryOfPath("plain"), "");
}

TEST(StatusAreaTest, ThreeLinesKeepTheNewestAtTheBottom) {
  suite::ThreeLineStatusArea area;
  for (const char* line : {"A", "B", "C", "D"}) area.Post(line);
  EXPECT_EQ(area.Lines(), (std::array<std::string, 3>{"B", "C", "D"}));
  suite::OneLineStatusArea one;
  one.Post("A");
  one.Post("B");
  EXPECT_EQ(one.Line(), "B");
  const std::string line = suite::MakeStatusLine("msg");
  EXPECT_EQ(line.size(), 17u + 3u);
  EXPECT_EQ(line.substr(17), "msg");
}

struct RecordingShell : suite::DesktopShell {
  std::vector<std::pair<std::string, std::string>> folders;
  std::vector<std::string> files;
  void OpenFolder(const std::string& folder, const std::string& workingDirectory) override {
    folders.emplace_back(folder, workingDirectory);
  }
  void OpenFile(const std::string& path) override { files.push_back(path); }
};

TEST(DesktopShellTest, OpenFolderVariants) {
  RecordingShell shell;
  // The searcher's: its work directory, unchecked, started in the folder it lies in.
  suite::OpenFolderInExplorer(shell, std::string("/nowhere/__Lorvane__"));
  ASSERT_EQ(shell.folders.size(), 1u);
  EXPECT_EQ(shell.folders[0], std::make_pair(std::string("/nowhere/__Lorvane__"), std::string("/nowhere/")));

  // The others': a remembered folder that has gone is replaced by the fallback, for good.
  TempDir dir;
  std::string remembered = dir.Path();
  suite::OpenFolderInExplorer(shell, &remembered, "/fallback/");
  EXPECT_EQ(shell.folders[1], std::make_pair(dir.Path(), dir.Path()));
  remembered = dir / "gone";
  suite::OpenFolderInExplorer(shell, &remembered, "/fallback/");
  EXPECT_EQ(remembered, "/fallback/");
  EXPECT_EQ(shell.folders[2], std::make_pair(remembered, remembered));
}

}  // namespace
