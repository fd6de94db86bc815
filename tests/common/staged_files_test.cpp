#include "common/staged_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support/temp_dir.h"

namespace suite {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

TEST(StagedFilesTest, TheMarkerDecidesWhetherTheStagedFilesGoInPlaceOrGo) {
  TempDir dir;
  const auto old = [&] {
    WriteFile(dir / "marker", "old marker");
    WriteFile(dir / "a", "old a");
  };
  old();
  EXPECT_TRUE(SettleStagedFiles(dir.Path(), "marker"));  // nothing staged

  // Cut short before the marker was staged: the old files stay.
  WriteFile(StagedPath(dir / "a"), "new a");
  WriteFile(StagedPath(dir / "b"), "new b");
  EXPECT_TRUE(SettleStagedFiles(dir.Path(), "marker"));
  EXPECT_EQ(ReadFile(dir / "a"), "old a");
  EXPECT_FALSE(std::filesystem::exists(dir / "b"));
  EXPECT_FALSE(std::filesystem::exists(StagedPath(dir / "a")));

  // Decided, and cut short after the first file was put in place: the rest follow.
  WriteFile(dir / "a", "new a");
  WriteFile(StagedPath(dir / "b"), "new b");
  WriteFile(StagedPath(dir / "marker"), "new marker");
  EXPECT_TRUE(SettleStagedFiles(dir.Path(), "marker"));
  EXPECT_EQ(ReadFile(dir / "a"), "new a");
  EXPECT_EQ(ReadFile(dir / "b"), "new b");
  EXPECT_EQ(ReadFile(dir / "marker"), "new marker");
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    EXPECT_NE(entry.path().extension(), ".next") << entry.path();
  }
}

TEST(StagedFilesTest, AChangeThatCantBePutInPlaceStaysDecided) {
  TempDir dir;
  WriteFile(dir / "marker", "old");
  // A directory where a file goes: its rename fails (even for root).
  std::filesystem::create_directories(dir / "a/in the way");
  WriteFile(StagedPath(dir / "a"), "new a");
  WriteFile(StagedPath(dir / "marker"), "new");
  EXPECT_FALSE(SettleStagedFiles(dir.Path(), "marker"));
  EXPECT_EQ(ReadFile(dir / "marker"), "old");  // not before every other file is in place
  std::filesystem::remove_all(dir / "a");
  EXPECT_TRUE(SettleStagedFiles(dir.Path(), "marker"));
  EXPECT_EQ(ReadFile(dir / "a"), "new a");
  EXPECT_EQ(ReadFile(dir / "marker"), "new");
}

}  // namespace
}  // namespace suite
