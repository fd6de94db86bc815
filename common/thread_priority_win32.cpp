#include "common/thread_priority.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace suite {

bool RunAtIdlePriority() {
  const char* wanted = std::getenv("SUITE_WORKER_PRIORITY");
  if (wanted != nullptr && std::strcmp(wanted, "normal") == 0) return false;
  return ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_IDLE) != 0;
}

}  // namespace suite
