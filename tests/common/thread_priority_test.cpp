#include <gtest/gtest.h>

#include <cstdlib>
#include <sched.h>
#include <thread>

#include "common/thread_priority.h"

namespace {

// The scheduling policy a fresh thread ends with after asking for idle priority.
int PolicyAfterAsking(bool* lowered) {
  int policy = -1;
  std::thread([&] {
    *lowered = suite::RunAtIdlePriority();
    policy = sched_getscheduler(0);
  }).join();
  return policy;
}

TEST(ThreadPriorityTest, AWorkerRunsAtIdlePriorityUnlessNormalIsAsked) {
  bool lowered = false;
  unsetenv("SUITE_WORKER_PRIORITY");
  EXPECT_EQ(PolicyAfterAsking(&lowered), SCHED_IDLE);
  EXPECT_TRUE(lowered);
  setenv("SUITE_WORKER_PRIORITY", "normal", 1);
  EXPECT_EQ(PolicyAfterAsking(&lowered), SCHED_OTHER);
  EXPECT_FALSE(lowered);
  setenv("SUITE_WORKER_PRIORITY", "idle", 1);
  EXPECT_EQ(PolicyAfterAsking(&lowered), SCHED_IDLE);
  unsetenv("SUITE_WORKER_PRIORITY");
  // The caller's own thread is never touched.
  EXPECT_EQ(sched_getscheduler(0), SCHED_OTHER);
}

}  // namespace
