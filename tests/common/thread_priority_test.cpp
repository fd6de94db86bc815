#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#ifdef _WIN32
#include <windows.h>
#else
#include <sched.h>
#endif

#include "common/thread_priority.h"

namespace {

#ifdef _WIN32
constexpr int kIdle = THREAD_PRIORITY_IDLE;
constexpr int kNormal = THREAD_PRIORITY_NORMAL;
int Policy() { return ::GetThreadPriority(::GetCurrentThread()); }
#else
constexpr int kIdle = SCHED_IDLE;
constexpr int kNormal = SCHED_OTHER;
int Policy() { return sched_getscheduler(0); }
#endif

// The scheduling policy (on Windows the priority) a fresh thread ends with
// after asking for idle priority.
int PolicyAfterAsking(bool* lowered) {
  int policy = -1;
  std::thread([&] {
    *lowered = suite::RunAtIdlePriority();
    policy = Policy();
  }).join();
  return policy;
}

TEST(ThreadPriorityTest, AWorkerRunsAtIdlePriorityUnlessNormalIsAsked) {
  bool lowered = false;
  unsetenv("SUITE_WORKER_PRIORITY");
  EXPECT_EQ(PolicyAfterAsking(&lowered), kIdle);
  EXPECT_TRUE(lowered);
  setenv("SUITE_WORKER_PRIORITY", "normal", 1);
  EXPECT_EQ(PolicyAfterAsking(&lowered), kNormal);
  EXPECT_FALSE(lowered);
  setenv("SUITE_WORKER_PRIORITY", "idle", 1);
  EXPECT_EQ(PolicyAfterAsking(&lowered), kIdle);
  unsetenv("SUITE_WORKER_PRIORITY");
  // The caller's own thread is never touched.
  EXPECT_EQ(Policy(), kNormal);
}

}  // namespace
