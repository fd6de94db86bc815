// A file seen through one window of its bytes at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <thread>

#include "common/aligned_block.h"
#include "common/tuning.h"

namespace suite {

class ExclusiveFile;

// Shows a window of an open file: mapped straight from the page cache where
// the file can be mapped (the mapping reaches out to the 2 MiB boundaries
// around the window, so that large folios map whole; only the window is
// read), read into a buffer of the window's size where it can't. A mapped
// window faults (SIGBUS; on Windows an access violation or an in-page error)
// when touched past the end of a file cut meanwhile, so
// scans read it under ScanUnlessCut (cut_guard.h). The file must stay open
// while the window is used. Not thread-safe.
//
// A window of a few KiB that is looked at once is cheaper read than mapped
// (no mapping to set up, fault in and tear down): `Access::kRead` reads always.
// A window whose mapping faulted page by page reads from its next Load on
// (kMapBytesPerFault, tuning.h).
class FileWindow {
 public:
  enum class Access { kMapWhereItCan, kRead };
  explicit FileWindow(const ExclusiveFile& file, size_t capacity = kMapWindowSize,
                      Access access = Access::kMapWhereItCan);
  ~FileWindow();
  FileWindow(const FileWindow&) = delete;
  FileWindow& operator=(const FileWindow&) = delete;

  // Shows the bytes from `offset` on: the capacity's worth, fewer where the file
  // (as big as it is now) ends. An offset at or past the end gives an empty
  // window that reaches the end. False on a read error, and when the file is
  // shorter than when the window was made or an earlier Load found it (WasCut()).
  bool Load(int64_t offset);
  // Lets the bytes shown go: a mapping's pages stop counting as the
  // process's memory. Data() and Size() are then empty until the next Load.
  void Release();
  // The last Load failed because the file was cut since the one before: a
  // cut between two windows, which no touched page shows.
  bool WasCut() const { return cut_; }

  const char* Data() const { return data_; }
  size_t Size() const { return size_; }
  int64_t Offset() const { return offset_; }
  // The file had no byte after the window when it was loaded.
  bool ReachesEnd() const { return reachesEnd_; }
  // The window shows a mapping, not a buffer it read into.
  bool Mapped() const { return mapping_ != nullptr; }

 private:
  // The platform's calls (file_window_posix.cpp, file_window_win32.cpp): a
  // read-only mapping of [start, start + length) of a file `fileSize` long,
  // nullptr when it can't be made; its end; the page faults of the calling
  // thread so far, -1 where they can't be told.
  static void* Map(const ExclusiveFile& file, int64_t start, size_t length, int64_t fileSize);
  static void Unmap(void* mapping, size_t length);
  static int64_t FaultsOfThisThread();

  const ExclusiveFile& file_;
  const size_t capacity_;
  const char* data_ = nullptr;
  size_t size_ = 0;
  int64_t offset_ = 0;
  bool reachesEnd_ = false;
  int64_t sizeSeen_ = 0;  // the largest size found when the window was made or by a Load
  bool cut_ = false;
  void* mapping_ = nullptr;
  size_t mappingSize_ = 0;
  bool mappable_ = true;
  int64_t faultLimit_ = -1;   // the thread's faults past which the last mapping faulted page by page
  std::thread::id mappedOn_;  // that thread
  int faultyMappings_ = 0;    // mappings in a row that went past their limit
  AlignedBlock* buffer_ = nullptr;  // made when the window first reads
};

}  // namespace suite
