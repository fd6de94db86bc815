// Windows: the path is stat'ed every 250 ms. A change notification could
// wake a wait sooner; a followed log is read in whole windows anyway.
#include "common/file_watch.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "common/path_util.h"
#include "common/stop_signals.h"
#include "common/wide_text_win32.h"

namespace suite {
namespace {

// No descriptor wakes a wait at a stop: it looks at the flag this often.
constexpr int kStopSliceMs = 50;

using Clock = std::chrono::steady_clock;

int64_t Nanoseconds(const FILETIME& time) {
  return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) * 100;
}

}  // namespace

// Sleeps in slices, looking at the stop flag between them.
bool FileWatch::SleepUnlessStopped(int ms) {
  const auto until = Clock::now() + std::chrono::milliseconds(std::max(ms, 0));
  for (;;) {
    if (StopRequested()) return true;
    int slice = kStopSliceMs;
    if (ms >= 0) {
      const int left = MsLeft(true, until);
      if (left == 0) return false;
      slice = std::min(slice, left);
    }
    ::Sleep(static_cast<DWORD>(slice));
  }
}

FileWatch::~FileWatch() { Unwatch(); }

void FileWatch::Unwatch() {
  inotifyFd_ = directoryWd_ = fileWd_ = -1;
  fileDevice_ = fileInode_ = 0;
  watching_ = polling_ = false;
}

bool FileWatch::Watch(const std::string& path) {
  Unwatch();
  const size_t slash = LastSeparator(path);
  name_ = slash == std::string::npos ? path : path.substr(slash + 1);
  directory_ = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  if (name_.empty() || !IsDirectory(directory_)) return false;
  path_ = path;
  watching_ = true;
  polling_ = true;
  last_ = StatPath();
  return true;
}

void FileWatch::StartInotify() { FallBackToPolling(); }

void FileWatch::FallBackToPolling() { polling_ = true; }

// The file's identity, size and times, through a handle that lets its writer
// go on and lets it be renamed or deleted meanwhile.
FileWatch::PathState FileWatch::StatPath() const {
  win32::UniqueHandle file(::CreateFileW(win32::Wide(path_).c_str(), FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information;
  if (!file.Valid() || !::GetFileInformationByHandle(file.Get(), &information)) return {};
  return {information.dwVolumeSerialNumber,
          (static_cast<uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow,
          static_cast<int64_t>((static_cast<uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow),
          Nanoseconds(information.ftLastWriteTime), Nanoseconds(information.ftCreationTime)};
}

bool FileWatch::DrainEvents() { return false; }

bool FileWatch::Rearm() { return false; }

WatchWake FileWatch::Wait(int timeoutMs) {
  if (StopRequested()) return WatchWake::kStopped;
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  const bool bounded = timeoutMs >= 0;
  if (!watching_) return SleepUnlessStopped(MsLeft(bounded, deadline)) ? WatchWake::kStopped : WatchWake::kTimeout;
  return WaitPolling(bounded, deadline);
}

}  // namespace suite
