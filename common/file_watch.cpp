#include "common/file_watch.h"

#include <algorithm>

#include "common/tuning.h"

namespace suite {

int FileWatch::MsLeft(bool bounded, std::chrono::steady_clock::time_point deadline) {
  if (!bounded) return -1;
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
  return static_cast<int>(std::max<decltype(left)>(left, 0));
}

// A stat every interval against the one the last wake (or the Watch) took, so
// what changed between two waits shows at the next one.
WatchWake FileWatch::WaitPolling(bool bounded, std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    const PathState now = StatPath();
    if (now != last_) return Changed(now);
    const int left = MsLeft(bounded, deadline);
    if (left == 0) return WatchWake::kTimeout;
    if (SleepUnlessStopped(left < 0 ? kWatchPollIntervalMs : std::min(left, kWatchPollIntervalMs))) {
      return WatchWake::kStopped;
    }
  }
}

WatchWake FileWatch::Changed(const PathState& now) {
  last_ = now;
  return WatchWake::kChanged;
}

}  // namespace suite
