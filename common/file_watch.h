// Waiting for a followed log to change: appended to, cut to nothing and written
// again, or replaced at its name by a rotation. inotify where it works, so the
// wait costs nothing while the log is quiet; a stat every 250 ms where it
// can't be had, where it would miss writes (network and FUSE file systems:
// another machine's writes raise no event here), or with SUITE_WATCH=poll.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace suite {

enum class WatchMode { kAuto, kPoll };

enum class WatchWake { kChanged, kTimeout, kStopped };

// Watches one path: the file at it and its directory, so that a file renamed
// away, deleted, or created or moved in at the name is seen as well as writes.
// A wake is only a hint: the caller looks at the file itself. One thread.
class FileWatch {
 public:
  // kAuto uses inotify unless the environment has SUITE_WATCH=poll, the
  // path is on a network or FUSE file system, or inotify fails; kPoll always
  // polls.
  explicit FileWatch(WatchMode mode = WatchMode::kAuto) : mode_(mode) {}
  ~FileWatch();
  FileWatch(const FileWatch&) = delete;
  FileWatch& operator=(const FileWatch&) = delete;

  // Starts watching `path`, which need not exist yet (its creation is a
  // change). False when its directory isn't one; then Wait only times out.
  bool Watch(const std::string& path);

  // Blocks until the file at the path may have changed since the last wake or
  // the Watch (kChanged), `timeoutMs` passes (kTimeout; negative: never), or a
  // stop signal came (kStopped, see stop_signals.h). A change made while no
  // Wait runs is reported by the next; a wake may come with nothing changed.
  WatchWake Wait(int timeoutMs);

  // Whether waits stat the path instead of using inotify, for messages.
  bool Polling() const { return polling_; }

 private:
  // What a stat of the path says; all zero while nothing is there.
  struct PathState {
    uint64_t device = 0, inode = 0;
    int64_t size = 0, modified = 0, changed = 0;  // times in nanoseconds
    friend bool operator==(const PathState&, const PathState&) = default;
  };
  PathState StatPath() const;

  void Unwatch();
  void StartInotify();
  void FallBackToPolling();
  bool DrainEvents();
  bool Rearm();
  WatchWake WaitPolling(bool bounded, std::chrono::steady_clock::time_point deadline);
  WatchWake Changed(const PathState& now);
  // Milliseconds left until `deadline`, rounded up so a wait never spins on
  // 0; -1 (forever) without a deadline.
  static int MsLeft(bool bounded, std::chrono::steady_clock::time_point deadline);
  // Sleeps up to `ms` (-1: until a stop); true when a stop came. The platform's.
  static bool SleepUnlessStopped(int ms);

  WatchMode mode_;
  bool polling_ = false;
  bool watching_ = false;
  std::string path_, directory_, name_;
  PathState last_;  // as the last wake (or the Watch) saw it
  int inotifyFd_ = -1;
  int directoryWd_ = -1, fileWd_ = -1;
  uint64_t fileDevice_ = 0, fileInode_ = 0;  // the file fileWd_ is on
};

}  // namespace suite
