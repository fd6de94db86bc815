#include "evacuator/move_no_replace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "common/path_util.h"
#include "test_support/temp_dir.h"

namespace tuckaway {
namespace {

using suite::PathExists;
using suite::testing::ReadFile;
using suite::testing::TempDir;
using suite::testing::WriteFile;

using MoveFunction = bool (*)(const std::string&, const std::string&);

std::vector<std::string> EntriesOf(const std::string& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The rename and its link fallback promise the same.
class MoveNoReplaceTest : public ::testing::TestWithParam<MoveFunction> {
 protected:
  TempDir dir;
};

TEST_P(MoveNoReplaceTest, MovesAFileOrALinkAsItIs) {
  WriteFile(dir / "a", "content");
  ASSERT_TRUE(GetParam()(dir / "a", dir / "b"));
  EXPECT_FALSE(PathExists(dir / "a"));
  EXPECT_EQ(ReadFile(dir / "b"), "content");

#ifdef _WIN32  // no symbolic links to test with there
  EXPECT_EQ(EntriesOf(dir.Path()), (std::vector<std::string>{"b"}));
#else
  ASSERT_EQ(::symlink("b", (dir / "link").c_str()), 0);
  ASSERT_TRUE(GetParam()(dir / "link", dir / "moved-link"));
  char target[16] = {};
  ASSERT_EQ(::readlink((dir / "moved-link").c_str(), target, sizeof target - 1), 1);
  EXPECT_STREQ(target, "b");
  // Nothing is left on the way: neither old names nor names put aside.
  EXPECT_EQ(EntriesOf(dir.Path()), (std::vector<std::string>{"b", "moved-link"}));
#endif
}

TEST_P(MoveNoReplaceTest, NeverReplacesAndKeepsBothFiles) {
  WriteFile(dir / "a", "mine");
  WriteFile(dir / "b", "theirs");
  EXPECT_FALSE(GetParam()(dir / "a", dir / "b"));
  EXPECT_EQ(ReadFile(dir / "a"), "mine");
  EXPECT_EQ(ReadFile(dir / "b"), "theirs");
}

INSTANTIATE_TEST_SUITE_P(Both, MoveNoReplaceTest, ::testing::Values(&MoveFileNoReplace, &MoveFileByLink));

}  // namespace
}  // namespace tuckaway
