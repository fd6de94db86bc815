#include "splitter/split_state.h"

#include "common/desktop_shell.h"

namespace cleavora {

SplitState::SplitState(std::string programDirectory)
    : place_{std::move(programDirectory), kWorkDirectoryName, true} {}

SplitState::SplitState(const suite::FilePlace& place) : place_(place) {}

std::string SplitState::LastSplitDirectory() const {
  std::lock_guard<std::mutex> lock(directoryMutex_);
  return lastSplitDirectory_;
}

void SplitState::SetLastSplitDirectory(const std::string& directory) {
  std::lock_guard<std::mutex> lock(directoryMutex_);
  lastSplitDirectory_ = directory;
}

void SplitState::OpenLastSplitDirectory(suite::DesktopShell& shell) {
  // Held over the check, the replacement and the request, so a split that
  // starts meanwhile is never overwritten by the fallback.
  std::lock_guard<std::mutex> lock(directoryMutex_);
  suite::OpenFolderInExplorer(shell, &lastSplitDirectory_, place_.base);
}

}  // namespace cleavora
