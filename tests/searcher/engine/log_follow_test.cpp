#include "searcher/engine/log_follow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/held_directory.h"
#include "recording_window.h"
#include "searcher/engine/search_context.h"
#include "test_support/temp_dir.h"

namespace lorvane {
namespace {

using suite::testing::TempDir;
using suite::testing::WriteFile;
using testing::RecordingWindow;

void Append(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

class LogFollowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    suite::SetActiveCodePage(suite::CodePage::Gbk);
    context.workDirectory = dir / "__Lorvane__";
    log = dir / "live.log";
  }

  // The texts of the records handed out by a look (and after it), after the record's 23-byte prefix.
  FollowChange Look(std::vector<std::string>* texts) {
    const auto take = [&](std::string_view record) { texts->emplace_back(record.substr(23)); };
    const FollowChange change = follower.Look(take);
    EXPECT_TRUE(follower.TakeNewRecords(take));
    return change;
  }

  TempDir dir;
  std::string log;
  RecordingWindow window;
  SearchContext context;
  LogFollower follower{window, context, dir / "live.log", "hit", false};
};

TEST_F(LogFollowTest, EachAppendedResultIsHandedOutOnceAndWholeLinesOnly) {
  WriteFile(log, "old hit\nold\n");
  ASSERT_TRUE(follower.Start());
  const std::string first = follower.HistoryDirectory();
  std::vector<std::string> texts;
  EXPECT_EQ(Look(&texts), FollowChange::kNone);
  EXPECT_TRUE(texts.empty());  // what was there before is the search's, not news

  Append(log, "new hit 1\nnothing\nnew HIT 2\r\n");
  EXPECT_EQ(Look(&texts), FollowChange::kGrown);
  EXPECT_EQ(texts, (std::vector<std::string>{"new hit 1", "new HIT 2"}));
  // A line still being written is held back until it is whole.
  texts.clear();
  Append(log, "half a hi");
  EXPECT_EQ(Look(&texts), FollowChange::kGrown);
  Append(log, "t");
  EXPECT_EQ(Look(&texts), FollowChange::kGrown);
  EXPECT_TRUE(texts.empty());
  Append(log, ", now whole\nlast hit\n");
  EXPECT_EQ(Look(&texts), FollowChange::kGrown);
  EXPECT_EQ(texts, (std::vector<std::string>{"half a hit, now whole", "last hit"}));
  EXPECT_EQ(follower.HistoryDirectory(), first);
}

// A look that fails leaves the history as it was; the next one goes on.
TEST_F(LogFollowTest, AFailedLookIsMadeGoodByTheNext) {
  WriteFile(log, "one hit\n");
  ASSERT_TRUE(follower.Start());
  std::vector<std::string> texts;
  Append(log, "two hit\n");
  {
    suite::HeldDirectory held;  // another update of the same history
    ASSERT_TRUE(held.Hold(follower.HistoryDirectory()));
    EXPECT_EQ(follower.Look([&](std::string_view record) { texts.emplace_back(record.substr(23)); }),
              FollowChange::kFailed);
    EXPECT_EQ(suite::ToUtf8(follower.Problem()), "继续搜索失败: 这个搜索历史正在被另一个搜索使用!");
  }
  EXPECT_EQ(Look(&texts), FollowChange::kGrown);
  EXPECT_EQ(texts, (std::vector<std::string>{"two hit"}));
}

TEST_F(LogFollowTest, ARotationAndACopyTruncateLoseNothingAndRepeatNothing) {
  WriteFile(log, "one hit\n");
  ASSERT_TRUE(follower.Start());
  const std::string first = follower.HistoryDirectory();
  std::vector<std::string> texts;

  // Lines written to the old file just before it was renamed away, then a new file at the name.
  Append(log, "old file's last hit\n");
  std::filesystem::rename(log, dir / "live.log.1");
  Append(dir / "live.log.1", "written after the rename hit\n");
  WriteFile(log, "new file's first hit\nplain\n");
  EXPECT_EQ(Look(&texts), FollowChange::kRotated);
  EXPECT_EQ(texts, (std::vector<std::string>{"old file's last hit", "written after the rename hit",
                                             "new file's first hit"}));
  EXPECT_NE(follower.HistoryDirectory(), first);

  // copytruncate: the same file emptied, then written again.
  texts.clear();
  std::filesystem::resize_file(log, 0);
  Append(log, "after the cut hit\n");
  EXPECT_EQ(Look(&texts), FollowChange::kCut);
  EXPECT_EQ(texts, (std::vector<std::string>{"after the cut hit"}));
  texts.clear();
  Append(log, "and on hit\n");
  EXPECT_EQ(Look(&texts), FollowChange::kGrown);
  EXPECT_EQ(texts, (std::vector<std::string>{"and on hit"}));

  // The name gone for a while, then back.
  if (SUITE_ON_WINDOWS) {
    GTEST_SKIP() << "Wine deletes a file open elsewhere only as it is closed, and shows it at its name until then";
  }
  texts.clear();
  std::filesystem::remove(log);
  EXPECT_EQ(Look(&texts), FollowChange::kGone);
  EXPECT_EQ(Look(&texts), FollowChange::kGone);
  WriteFile(log, "back hit\n");
  EXPECT_EQ(Look(&texts), FollowChange::kRotated);
  EXPECT_EQ(texts, (std::vector<std::string>{"back hit"}));
}

}  // namespace
}  // namespace lorvane
