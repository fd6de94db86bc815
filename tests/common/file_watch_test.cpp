#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#ifndef _WIN32
#include <sys/syscall.h>
#endif

#include "common/file_watch.h"
#include "common/stop_signals.h"
#include "test_support/temp_dir.h"

namespace {

using namespace std::chrono_literals;
using suite::FileWatch;
using suite::WatchMode;
using suite::WatchWake;
using suite::testing::TempDir;
using suite::testing::WriteFile;

// Only a broken watch waits this out; a working one wakes as soon as it can.
constexpr int kPatienceMs = 10000;
// A wait expected to time out because nothing happens.
constexpr int kQuietMs = 300;

void Append(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

void Move(const std::string& from, const std::string& to) { ASSERT_EQ(std::rename(from.c_str(), to.c_str()), 0); }

// Lets pass the wakes for what the test did before (a watch may report one
// change twice) until a short wait times out.
::testing::AssertionResult Settle(FileWatch& watch) {
  for (int i = 0; i < 20; ++i) {
    if (watch.Wait(kQuietMs) == WatchWake::kTimeout) return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "the watch keeps waking while nothing happens";
}

#ifdef _WIN32
// No thread's system call can be read on Windows: the action comes once the
// wait has surely begun.
std::thread WhenBlocked(std::function<void()> action) {
  return std::thread([action = std::move(action)] {
    std::this_thread::sleep_for(300ms);
    action();
  });
}
#else
bool InPoll(pid_t tid) {
  long number = -1;
  std::ifstream("/proc/self/task/" + std::to_string(tid) + "/syscall") >> number;
#ifdef SYS_poll
  if (number == SYS_poll) return true;
#endif
  return number == SYS_ppoll;
}

// Runs `action` on another thread once this one is blocked in poll(), where
// only a descriptor can wake it (waited for up to the patience).
std::thread WhenBlocked(std::function<void()> action) {
  return std::thread([action = std::move(action), waiter = ::gettid()] {
    for (int i = 0; i < kPatienceMs && !InPoll(waiter); ++i) std::this_thread::sleep_for(1ms);
    EXPECT_TRUE(InPoll(waiter)) << "the wait was never seen blocked";
    action();
  });
}
#endif

// Every case with inotify and with polling forced, each change made between
// two waits (it must not be missed) or while a wait is blocked (it must wake it).
class FileWatchTest : public ::testing::TestWithParam<std::tuple<WatchMode, bool>> {
 protected:
  void SetUp() override {
    FileWatch probe(mode_);
    if (mode_ == WatchMode::kAuto && probe.Watch(dir_ / "probe") && probe.Polling()) {
      GTEST_SKIP() << "inotify can't be had here; the polling cases cover this";
    }
  }
  void StartWatch() {
    ASSERT_TRUE(watch_.Watch(log_));
    ASSERT_TRUE(Settle(watch_));
  }
  // Makes the change, expects the wake it brings, and lets its echoes pass.
  void ExpectWake(const std::function<void()>& change, const char* what) {
    std::thread changer = duringAWait_ ? WhenBlocked(change) : std::thread();
    if (!duringAWait_) change();
    EXPECT_EQ(watch_.Wait(kPatienceMs), WatchWake::kChanged) << what;
    if (changer.joinable()) changer.join();
    EXPECT_TRUE(Settle(watch_)) << what;
  }

  const WatchMode mode_ = std::get<0>(GetParam());
  const bool duringAWait_ = std::get<1>(GetParam());
  TempDir dir_;
  const std::string log_ = dir_ / "app.log";
  FileWatch watch_{mode_};
};

TEST_P(FileWatchTest, AppendsWakeAndQuietTimesOut) {
  WriteFile(log_, "first\n");
  StartWatch();
  EXPECT_EQ(watch_.Wait(kQuietMs), WatchWake::kTimeout);
  for (int round = 0; round < 3; ++round) ExpectWake([&] { Append(log_, "more\n"); }, "append");
}

// Rotation by rename: the name gets a new file (created at once, or moved in
// from elsewhere after a wait found the name empty); the watch follows the
// name, not the old file.
TEST_P(FileWatchTest, RotationMovesTheWatchToTheNewFile) {
  WriteFile(log_, "old\n");
  StartWatch();
  const auto rotate = [&] {
    Move(log_, dir_ / "app.log.1");
    WriteFile(log_, "new\n");
  };
  ExpectWake(rotate, "renamed away and created");
  ExpectWake([&] { Append(log_, "to the new file\n"); }, "append to the new file");
  Append(dir_ / "app.log.1", "to the file rotated away\n");
  EXPECT_EQ(watch_.Wait(kQuietMs), WatchWake::kTimeout);

  ExpectWake([&] { Move(log_, dir_ / "app.log.2"); }, "renamed away");
  ASSERT_EQ(::mkdir((dir_ / "staging").c_str(), 0700), 0);
  WriteFile(dir_ / "staging/app.log", "moved in from another directory\n");
  ExpectWake([&] { Move(dir_ / "staging/app.log", log_); }, "moved in");
  ExpectWake([&] { Append(log_, "to the moved-in file\n"); }, "append to the moved-in file");
}

// copytruncate: the same file cut to nothing, then written again.
TEST_P(FileWatchTest, CutAndRewriteWake) {
  WriteFile(log_, "a line that will be cut\n");
  StartWatch();
  ExpectWake([&] { ASSERT_EQ(::truncate(log_.c_str(), 0), 0); }, "cut");
  ExpectWake([&] { Append(log_, "written again\n"); }, "written again");
}

TEST_P(FileWatchTest, PathAppearsAndGoes) {
  StartWatch();
  ExpectWake([&] { WriteFile(log_, "created\n"); }, "created");
  ExpectWake([&] { Append(log_, "appended\n"); }, "appended");
  ExpectWake([&] { ASSERT_EQ(::unlink(log_.c_str()), 0); }, "deleted");
  ExpectWake([&] { WriteFile(log_, "created again\n"); }, "created again");
}

std::string ModeName(WatchMode mode) { return mode == WatchMode::kPoll ? "Polling" : "Inotify"; }

INSTANTIATE_TEST_SUITE_P(, FileWatchTest,
                         ::testing::Combine(::testing::Values(WatchMode::kAuto, WatchMode::kPoll), ::testing::Bool()),
                         [](const auto& info) {
                           return ModeName(std::get<0>(info.param)) +
                                  (std::get<1>(info.param) ? "DuringAWait" : "BetweenWaits");
                         });

TEST(FileWatchSetupTest, PollingWhenAskedAndNothingWithoutADirectory) {
  TempDir dir;
  FileWatch forced(WatchMode::kPoll);
  ASSERT_TRUE(forced.Watch(dir / "app.log"));
  EXPECT_TRUE(forced.Polling());

  ::setenv("SUITE_WATCH", "poll", 1);
  FileWatch byEnvironment;
  const bool watched = byEnvironment.Watch(dir / "app.log");
  ::unsetenv("SUITE_WATCH");
  ASSERT_TRUE(watched);
  EXPECT_TRUE(byEnvironment.Polling());

  FileWatch nowhere;
  EXPECT_FALSE(nowhere.Watch(dir / "no-such-directory/app.log"));
  EXPECT_FALSE(nowhere.Watch(dir / "app.log/"));
  EXPECT_EQ(nowhere.Wait(kQuietMs), WatchWake::kTimeout);
}

// The handlers stay for the rest of the process; each case puts the default
// ones back so a later Ctrl-C still ends the test run.
class StopSignalTest : public ::testing::TestWithParam<WatchMode> {
 protected:
  void TearDown() override {
    suite::ResetStopSignals();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
  }
};

TEST_P(StopSignalTest, SignalWakesABlockedWaitUntilReset) {
#ifdef _WIN32
  GTEST_SKIP() << "a stop reaches a Windows program as a console event, not a signal";
#endif
  TempDir dir;
  const std::string log = WriteFile(dir / "app.log", "quiet\n");
  suite::CatchStopSignals();
  suite::ResetStopSignals();
  ASSERT_GE(suite::StopSignalDescriptor(), 0);
  FileWatch watch(GetParam());
  ASSERT_TRUE(watch.Watch(log));
  ASSERT_TRUE(Settle(watch));

  // To another thread, while the wait is blocked: only the pipe can wake it.
  std::thread sender = WhenBlocked([] { std::raise(SIGTERM); });
  EXPECT_EQ(watch.Wait(kPatienceMs), WatchWake::kStopped);
  sender.join();
  EXPECT_TRUE(suite::StopRequested());
  EXPECT_EQ(suite::StopSignalNumber(), SIGTERM);
  EXPECT_EQ(watch.Wait(kPatienceMs), WatchWake::kStopped) << "a stop lasts";

  suite::ResetStopSignals();
  EXPECT_FALSE(suite::StopRequested());
  EXPECT_EQ(suite::StopSignalNumber(), 0);
  EXPECT_EQ(watch.Wait(kQuietMs), WatchWake::kTimeout) << "the pipe was left readable";

  std::raise(SIGINT);
  EXPECT_EQ(suite::StopSignalNumber(), SIGINT);
  EXPECT_EQ(watch.Wait(kPatienceMs), WatchWake::kStopped);
}

INSTANTIATE_TEST_SUITE_P(, StopSignalTest, ::testing::Values(WatchMode::kAuto, WatchMode::kPoll),
                         [](const auto& info) { return ModeName(info.param); });

}  // namespace
