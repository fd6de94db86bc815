#include "common/thread_priority.h"

#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include <sched.h>

namespace suite {

bool RunAtIdlePriority() {
  const char* wanted = std::getenv("SUITE_WORKER_PRIORITY");
  if (wanted != nullptr && std::strcmp(wanted, "normal") == 0) return false;
  sched_param parameter{};
  return pthread_setschedparam(pthread_self(), SCHED_IDLE, &parameter) == 0;
}

}  // namespace suite
