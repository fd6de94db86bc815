#include "evacuator/evacuator.h"

#include <utility>

#include "common/path_util.h"
#include "common/time_text.h"
#include "evacuator/move_unless_held.h"
#include "evacuator/plain_file_listing.h"
#include "evacuator/tuckaway_texts.h"

namespace tuckaway {

Evacuator::Evacuator(std::string sourceDirectory, SuiteFileList suiteFiles, TimeStampSource timeStamp)
    : sourceDirectory_(std::move(sourceDirectory)), suiteFiles_(std::move(suiteFiles)), timeStamp_(std::move(timeStamp)) {
  if (!sourceDirectory_.empty() && sourceDirectory_.back() != suite::kPathSeparator) {
    sourceDirectory_ += suite::kPathSeparator;
  }
  workDirectory_ = sourceDirectory_ + kWorkDirectoryName;
  if (!timeStamp_) timeStamp_ = [] { return suite::MakeTimeStamp(); };
}

void Evacuator::InitDialog(TuckawayWindow& window) {
  window.SetTitle(TitleText());
  Refresh(window);
}

void Evacuator::Refresh(TuckawayWindow& window) {
  // A second listing, or a move, while one fills the list would act on half a list.
  window.EnableControls(false);
  window.StartListing();
}

void Evacuator::ListFiles(TuckawayWindow& window) const {
  window.SetSourceText(sourceDirectory_);
  window.ListClear();
  if (refused_) return;  // the buttons stay locked
  for (const auto& name : ListPlainFiles(sourceDirectory_)) {
    if (!suiteFiles_.Contains(name)) window.ListAddSorted(name);
  }
  window.EnableControls(true);
}

MoveResult Evacuator::MoveFiles(TuckawayWindow& window) {
  if (refused_) return MoveResult();
  // An existing directory is fine: two moves within one second share it.
  // The moved files keep who may read them: the folders take the user's umask.
  suite::MakeDirectory(workDirectory_, nullptr, suite::DirectoryAccess::kAsUmask);
  const std::string target = workDirectory_ + suite::kPathSeparator + timeStamp_();
  lastTargetDirectory_ = target;
  suite::MakeDirectory(target, nullptr, suite::DirectoryAccess::kAsUmask);

  // Caret after the first character: the start of the path stays in sight.
  window.SetTargetText(target);
  window.FocusTarget();
  window.SelectTargetFromEnd(1);

  MoveResult result;
  if (window.ListCount() == 0) return result;
  for (int64_t i = 0; i < window.ListCount(); ++i) {
    const std::string name = window.ListText(i);
    result.names.push_back(name);
    result.markers.push_back(MoveOne(name, target) ? kMovedMarker : kNotMovedMarker);
  }

  window.ListClear();
  for (size_t i = 0; i < result.names.size(); ++i) {
    window.ListAppendColoured(result.names[i], result.markers[i] == kMovedMarker ? kMovedColour : kNotMovedColour);
  }
  return result;
}

bool Evacuator::MoveOne(const std::string& name, const std::string& targetDirectory) const {
  // Only a name straight inside the source directory. What bears it now is
  // looked at again: a directory may have taken a listed file's place since
  // the listing, and another program may hold the file.
  if (name.empty() || name.find(suite::kPathSeparator) != std::string::npos) return false;
  return MoveUnlessHeld(sourceDirectory_ + name, targetDirectory + suite::kPathSeparator + name) ==
         MoveOutcome::Moved;
}

void Evacuator::OnListDoubleClick(TuckawayWindow& window, int64_t index) { window.ListDelete(index); }

void Evacuator::OpenLastTargetFolder(suite::DesktopShell& shell) {
  suite::OpenFolderInExplorer(shell, &lastTargetDirectory_, sourceDirectory_);
}

}  // namespace tuckaway
