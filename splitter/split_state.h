// The splitter's program-wide state, shared by the window's thread and the worker.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "splitter/piece_size.h"

namespace suite {
class DesktopShell;
}

namespace cleavora {

// The work directory inside the program directory; one split directory per split.
inline constexpr const char* kWorkDirectoryName = "__Cleavora__";

// One instance for the process; nothing of it is saved. The last split
// directory and the stop flag may be used from any thread; the last accepted
// piece size belongs to the window's thread.
class SplitState {
 public:
  // `programDirectory` ends in the separator.
  explicit SplitState(std::string programDirectory);

  const std::string& ProgramDirectory() const { return programDirectory_; }
  std::string WorkDirectory() const { return programDirectory_ + kWorkDirectoryName; }

  int64_t LastAcceptedPieceSize() const { return lastAcceptedPieceSize_; }
  void SetLastAcceptedPieceSize(int64_t lines) { lastAcceptedPieceSize_ = lines; }

  std::string LastSplitDirectory() const;
  void SetLastSplitDirectory(const std::string& directory);
  // Shows the last split directory in the file manager; when it is missing
  // (no split yet, or deleted) it becomes the program's directory for good.
  void OpenLastSplitDirectory(suite::DesktopShell& shell);

  // Asks a running split to end at once, without reporting to the window: the
  // window sets it when it closes and may then wait for the worker.
  void RequestStop() { stopRequested_.store(true, std::memory_order_relaxed); }
  bool StopRequested() const { return stopRequested_.load(std::memory_order_relaxed); }

 private:
  const std::string programDirectory_;
  int64_t lastAcceptedPieceSize_ = kDefaultLinesPerPiece;
  mutable std::mutex directoryMutex_;
  std::string lastSplitDirectory_;
  std::atomic<bool> stopRequested_{false};
};

}  // namespace cleavora
