// Files another program holds stay where they are; everything else moves.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "common/codepage.h"
#include "common/exclusive_file.h"
#include "common/path_util.h"
#include "evacuator/evacuator.h"
#include "evacuator/move_unless_held.h"
#include "evacuator/tuckaway_texts.h"
#include "recording_window.h"
#include "test_support/lock_holder.h"
#include "test_support/temp_dir.h"

namespace tuckaway {
namespace {

using suite::PathExists;
using suite::testing::LockFromAnotherProcess;
using suite::testing::ReadFile;
using suite::testing::TempDir;
using suite::testing::WriteFile;
using testing::RecordingWindow;
using Names = std::vector<std::string>;

class HeldFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    suite::SetActiveCodePage(suite::CodePage::Gbk);
    ASSERT_EQ(::mkdir((dir / "to").c_str(), 0777), 0);
  }
  MoveOutcome Move(const std::string& name) { return MoveUnlessHeld(dir / name, dir / ("to/" + name)); }

  TempDir dir;
};

TEST_F(HeldFileTest, AFileLockedByAnotherProcessStaysRedUntilItIsReleased) {
  for (const char* name : {"a.log", "held.log", "z.log"}) WriteFile(dir / name, name);
  LockFromAnotherProcess holder(dir / "held.log");
  ASSERT_TRUE(holder.Held());

  int stamps = 0;
  Evacuator evacuator(dir.Path(), SuiteFileList(), [&stamps] { return "stamp" + std::to_string(++stamps); });
  RecordingWindow window;
  evacuator.ListFiles(window);
  EXPECT_EQ(evacuator.MoveFiles(window).markers, (Names{"ok", "no", "ok"}));
  EXPECT_EQ(window.Colours(), (std::vector<std::optional<Rgb>>{kMovedColour, kNotMovedColour, kMovedColour}));
  EXPECT_EQ(ReadFile(dir / "held.log"), "held.log");
  EXPECT_FALSE(PathExists(dir / kWorkDirectoryName + "/stamp1/held.log"));
  EXPECT_EQ(ReadFile(dir / kWorkDirectoryName + "/stamp1/a.log"), "a.log");

  // It was the lock that kept it: released, the file goes with the next move.
  holder.Release();
  EXPECT_EQ(evacuator.MoveFiles(window).markers, (Names{"no", "ok", "no"}));
  EXPECT_EQ(ReadFile(dir / kWorkDirectoryName + "/stamp2/held.log"), "held.log");
}

TEST_F(HeldFileTest, ATargetHeldAsTheSuitesProgramsHoldThemStays) {
  WriteFile(dir / "target.log", "searched");
  suite::ExclusiveFile searched;
  ASSERT_TRUE(searched.Open(dir / "target.log"));
  EXPECT_EQ(Move("target.log"), MoveOutcome::Held);
  EXPECT_EQ(ReadFile(dir / "target.log"), "searched");

  searched.Close();
#ifndef _WIN32  // a shared flock has no Windows counterpart
  // A shared lock keeps the file as well.
  const int reader = ::open((dir / "target.log").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(reader, LOCK_SH), 0);
  EXPECT_EQ(Move("target.log"), MoveOutcome::Held);
  ::close(reader);
#endif

  // Moved, the file is left unlocked: a program may take it at once.
  EXPECT_EQ(Move("target.log"), MoveOutcome::Moved);
  EXPECT_TRUE(searched.Open(dir / "to/target.log"));
  EXPECT_FALSE(PathExists(dir / "target.log"));
}

TEST_F(HeldFileTest, EntriesThatArentRegularFilesMoveAsTheyAreWithoutBeingOpened) {
  SUITE_SKIP_ON_WINDOWS("no FIFOs or symbolic links to test with here");
#ifndef _WIN32
  // Opening a pipe that nobody writes to would wait for ever.
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0666), 0);
  EXPECT_EQ(Move("pipe"), MoveOutcome::Moved);
  struct stat moved;
  ASSERT_EQ(::lstat((dir / "to/pipe").c_str(), &moved), 0);
  EXPECT_TRUE(S_ISFIFO(moved.st_mode));

  // A link moves even when its file is held: the file itself stays put.
  WriteFile(dir / "held.log", "held");
  LockFromAnotherProcess holder(dir / "held.log");
  ASSERT_TRUE(holder.Held());
  ASSERT_EQ(::symlink("../held.log", (dir / "link").c_str()), 0);
  EXPECT_EQ(Move("link"), MoveOutcome::Moved);
  EXPECT_EQ(ReadFile(dir / "to/link"), "held");
  EXPECT_EQ(Move("held.log"), MoveOutcome::Held);

  // A directory, or a link to one, never moves.
  ASSERT_EQ(::mkdir((dir / "sub").c_str(), 0777), 0);
  ASSERT_EQ(::symlink("sub", (dir / "to-sub").c_str()), 0);
  EXPECT_EQ(Move("sub"), MoveOutcome::Failed);
  EXPECT_EQ(Move("to-sub"), MoveOutcome::Failed);
  EXPECT_EQ(Move("gone"), MoveOutcome::Failed);
  EXPECT_TRUE(PathExists(dir / "sub") && PathExists(dir / "to-sub"));
#endif
}

TEST_F(HeldFileTest, AFileWhoseLockCantBeLookedAtStays) {
  SUITE_SKIP_ON_WINDOWS("no permission bits there");
#ifndef _WIN32
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  WriteFile(dir / "secret", "s");
  ASSERT_EQ(::chmod((dir / "secret").c_str(), 0), 0);
  EXPECT_EQ(Move("secret"), MoveOutcome::Failed);
  EXPECT_TRUE(PathExists(dir / "secret"));
#endif
}

}  // namespace
}  // namespace tuckaway
