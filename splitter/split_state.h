// The splitter's program-wide state, shared by the window's thread and the worker.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "common/file_places.h"
#include "splitter/piece_size.h"

namespace suite {
class DesktopShell;
}

namespace cleavora {

// The work directory inside the program directory; one split directory per split.
inline constexpr const char* kWorkDirectoryName = "__Cleavora__";
// Pieces go into kWorkDirectoryName beside a portable program, else into
// "Partivo" in the user's documents folder.
inline constexpr suite::FilesRequest kSplitterFiles{kWorkDirectoryName, suite::UserPlace::kDocuments, "Partivo"};

// One instance for the process; nothing of it is saved. The last split
// directory and the stop flag may be used from any thread; the last accepted
// piece size belongs to the window's thread.
class SplitState {
 public:
  // Beside the program: `programDirectory` ends in the separator.
  explicit SplitState(std::string programDirectory);
  // Where suite::ProgramFilePlace puts the pieces.
  explicit SplitState(const suite::FilePlace& place);

  // The folder the work directory lies in: the program's own folder, or the
  // user's documents folder. The file chooser starts there.
  const std::string& BaseDirectory() const { return place_.base; }
  std::string WorkDirectory() const { return place_.Directory(); }
  // False when the pieces go to the user's folder: then the status line says where.
  bool BesideProgram() const { return place_.besideProgram; }
  bool ProgramFolderUnknown() const { return place_.programFolderUnknown; }
  const suite::FilePlace& Place() const { return place_; }

  int64_t LastAcceptedPieceSize() const { return lastAcceptedPieceSize_; }
  void SetLastAcceptedPieceSize(int64_t lines) { lastAcceptedPieceSize_ = lines; }

  std::string LastSplitDirectory() const;
  void SetLastSplitDirectory(const std::string& directory);
  // Shows the last split directory in the file manager; when it is missing
  // (no split yet, or deleted) it becomes the base directory for good.
  void OpenLastSplitDirectory(suite::DesktopShell& shell);

  // Asks a running split to end at once, without reporting to the window: the
  // window sets it when it closes and may then wait for the worker.
  void RequestStop() { stopRequested_.store(true, std::memory_order_relaxed); }
  bool StopRequested() const { return stopRequested_.load(std::memory_order_relaxed); }

 private:
  const suite::FilePlace place_;
  int64_t lastAcceptedPieceSize_ = kDefaultLinesPerPiece;
  mutable std::mutex directoryMutex_;
  std::string lastSplitDirectory_;
  std::atomic<bool> stopRequested_{false};
};

}  // namespace cleavora
