#include "common/file_watch.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <linux/magic.h>
#include <poll.h>
#include <string_view>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include "common/stop_signals.h"

namespace suite {
namespace {

// The file's own events, and the name's in its directory: a rotation renames
// the file away and creates another, copytruncate cuts it (IN_MODIFY).
constexpr uint32_t kFileMask = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_MOVE_SELF | IN_DELETE_SELF;
constexpr uint32_t kDirectoryMask = IN_CREATE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_DELETE_SELF |
                                    IN_MOVE_SELF | IN_ONLYDIR;

using Clock = std::chrono::steady_clock;

// File systems shared with other machines, or served by a program: inotify
// watches are added there, but what another machine or the server writes
// raises no event here, so only a stat sees it.
bool RemoteFileSystem(const std::string& path) {
  struct statfs status;
  if (::statfs(path.c_str(), &status) != 0) return false;
  switch (static_cast<unsigned long>(status.f_type)) {
    case NFS_SUPER_MAGIC: case SMB_SUPER_MAGIC: case CIFS_SUPER_MAGIC: case SMB2_SUPER_MAGIC:
    case FUSE_SUPER_MAGIC: case V9FS_MAGIC: case CEPH_SUPER_MAGIC: case AFS_SUPER_MAGIC:
    case AFS_FS_MAGIC: case CODA_SUPER_MAGIC: case NCP_SUPER_MAGIC: case OCFS2_SUPER_MAGIC:
    case 0x01161970:  // GFS2
    case 0x0BD00BD0:  // Lustre
      return true;
    default:
      return false;
  }
}

}  // namespace

// A stop wakes the poll through the stop signals' pipe.
bool FileWatch::SleepUnlessStopped(int ms) {
  if (StopRequested()) return true;
  pollfd stop = {StopSignalDescriptor(), POLLIN, 0};
  return ::poll(&stop, 1, ms) > 0 || StopRequested();
}

FileWatch::~FileWatch() { Unwatch(); }

void FileWatch::Unwatch() {
  if (inotifyFd_ >= 0) ::close(inotifyFd_);
  inotifyFd_ = directoryWd_ = fileWd_ = -1;
  fileDevice_ = fileInode_ = 0;
  watching_ = polling_ = false;
}

bool FileWatch::Watch(const std::string& path) {
  Unwatch();
  const size_t slash = path.rfind('/');
  name_ = slash == std::string::npos ? path : path.substr(slash + 1);
  directory_ = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  struct stat status;
  if (name_.empty() || ::stat(directory_.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return false;
  path_ = path;
  watching_ = true;
  const char* setting = std::getenv("SUITE_WATCH");
  polling_ = mode_ == WatchMode::kPoll || (setting && std::string_view(setting) == "poll") ||
             RemoteFileSystem(directory_) || RemoteFileSystem(path_);
  if (!polling_) StartInotify();
  last_ = StatPath();
  return true;
}

void FileWatch::StartInotify() {
  inotifyFd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (inotifyFd_ < 0) {
    FallBackToPolling();
    return;
  }
  Rearm();
}

void FileWatch::FallBackToPolling() {
  if (inotifyFd_ >= 0) ::close(inotifyFd_);
  inotifyFd_ = directoryWd_ = fileWd_ = -1;
  fileDevice_ = fileInode_ = 0;
  polling_ = true;
}

FileWatch::PathState FileWatch::StatPath() const {
  struct stat status;
  if (::stat(path_.c_str(), &status) != 0) return {};
  return {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino),
          static_cast<int64_t>(status.st_size),
          static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
          static_cast<int64_t>(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec};
}

// Reads every queued event into one fixed buffer, however many came; true when
// any may concern the file at the name.
bool FileWatch::DrainEvents() {
  alignas(inotify_event) char buffer[4096];  // room for at least one event with the longest name
  bool relevant = false;
  for (;;) {
    const ssize_t got = ::read(inotifyFd_, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return relevant;
    for (const char* at = buffer; at < buffer + got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(at);
      at += sizeof(inotify_event) + event->len;
      if (event->mask & IN_Q_OVERFLOW) {
        relevant = true;  // events were lost: any may have been ours
      } else if (event->wd == fileWd_) {
        relevant = true;
        if (event->mask & IN_IGNORED) {
          fileWd_ = -1;
          fileDevice_ = fileInode_ = 0;
        }
      } else if (event->wd == directoryWd_) {
        if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
          // The directory went away from the path: watch whatever is there now.
          if (!(event->mask & IN_IGNORED)) ::inotify_rm_watch(inotifyFd_, directoryWd_);
          directoryWd_ = -1;
          relevant = true;
        } else if (event->len > 0 && name_ == event->name) {
          relevant = true;
        }
      }
      // Anything else is another name in the directory, or a watch dropped here.
    }
  }
}

// Puts the watches where the path is now: on the directory if it was lost,
// and on the file at the name if that is another file than the watched one.
// True when anything moved. Falls back to polling when a watch can't be added.
bool FileWatch::Rearm() {
  bool moved = false;
  if (directoryWd_ < 0) {
    directoryWd_ = ::inotify_add_watch(inotifyFd_, directory_.c_str(), kDirectoryMask);
    if (directoryWd_ < 0) {
      FallBackToPolling();
      return true;
    }
    moved = true;
  }
  // The stat comes before the watch: if the name is replaced between the two,
  // the watch is on the new file while the old one is noted, and the next
  // call, woken by the directory's event, sees a difference and arms again.
  // The other order could note the new file while watching the old.
  struct stat status;
  const bool exists = ::stat(path_.c_str(), &status) == 0;
  const uint64_t device = exists ? status.st_dev : 0, inode = exists ? status.st_ino : 0;
  if (device == fileDevice_ && inode == fileInode_) return moved;
  if (fileWd_ >= 0) ::inotify_rm_watch(inotifyFd_, fileWd_);
  fileWd_ = -1;
  fileDevice_ = fileInode_ = 0;
  if (!exists) return true;
  fileWd_ = ::inotify_add_watch(inotifyFd_, path_.c_str(), kFileMask);
  if (fileWd_ < 0) {
    // Gone again: the directory's event for that is already queued.
    if (errno != ENOENT) FallBackToPolling();
    return true;
  }
  fileDevice_ = device;
  fileInode_ = inode;
  return true;
}

WatchWake FileWatch::Wait(int timeoutMs) {
  if (StopRequested()) return WatchWake::kStopped;
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  const bool bounded = timeoutMs >= 0;
  if (!watching_) return SleepUnlessStopped(MsLeft(bounded, deadline)) ? WatchWake::kStopped : WatchWake::kTimeout;
  if (!polling_) {
    // Events queued since the last wake, and a name replaced meanwhile.
    const bool queued = DrainEvents();
    if (Rearm() || queued) return Changed(StatPath());
  }
  while (!polling_) {
    pollfd fds[2] = {{inotifyFd_, POLLIN, 0}, {StopSignalDescriptor(), POLLIN, 0}};
    const int ready = ::poll(fds, 2, MsLeft(bounded, deadline));
    // A stop wakes the poll through the pipe, or interrupts it on this thread;
    // without the pipe, one caught on another thread shows at the next Wait.
    if ((ready > 0 && fds[1].revents != 0) || (ready < 0 && StopRequested())) return WatchWake::kStopped;
    if (ready < 0 && errno != EINTR) FallBackToPolling();
    if (ready > 0 && fds[0].revents != 0) {
      const bool queued = DrainEvents();
      if (Rearm() || queued) return Changed(StatPath());
      // Only other names in the directory: wait on.
    }
    if (bounded && MsLeft(bounded, deadline) == 0) return WatchWake::kTimeout;
  }
  return WaitPolling(bounded, deadline);
}

}  // namespace suite
