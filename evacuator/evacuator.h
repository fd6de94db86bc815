// The evacuator's dialog logic: listing the folder, moving its files away.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/desktop_shell.h"
#include "evacuator/suite_file_list.h"
#include "evacuator/tuckaway_window.h"

namespace tuckaway {

// One move's result lists: the names in list order and, at the same index,
// "ok" when the file was moved or "no" when it wasn't.
struct MoveResult {
  std::vector<std::string> names;
  std::vector<std::string> markers;
};

// The dialog holds one Evacuator and forwards its events to it. The source
// directory is fixed; the last target directory is read and written on the
// window's thread only. The listing reads nothing that changes, so it may run
// on a worker thread.
class Evacuator {
 public:
  using TimeStampSource = std::function<std::string()>;

  // `sourceDirectory` is the folder to empty: the program's own directory. A
  // separator is added when it doesn't end in one. `timeStamp` names each
  // move's target directory (MakeTimeStamp of now).
  explicit Evacuator(std::string sourceDirectory, SuiteFileList suiteFiles = SuiteFileList(),
                     TimeStampSource timeStamp = nullptr);

  const std::string& SourceDirectory() const { return sourceDirectory_; }
  const std::string& WorkDirectory() const { return workDirectory_; }
  // Empty until the first move; the open-folder button may replace a missing
  // one by the program's directory.
  const std::string& LastTargetDirectory() const { return lastTargetDirectory_; }
  const SuiteFileList& SuiteFiles() const { return suiteFiles_; }

  // A folder that must not be emptied: listings show its path only and keep
  // the buttons locked, and a move does nothing.
  void RefuseToEmpty() { refused_ = true; }
  bool Refused() const { return refused_; }

  // The dialog's initialisation: its title, then a listing.
  void InitDialog(TuckawayWindow& window);
  // The refresh button, and the start of every listing: locks the buttons and
  // starts ListFiles on a worker thread.
  void Refresh(TuckawayWindow& window);
  // The listing, run on the worker thread: shows the source directory and
  // fills the list with every file in it that isn't one of the suite's own,
  // sorted; then unlocks the buttons.
  void ListFiles(TuckawayWindow& window) const;
  // The move button, on the window's thread: moves every listed file into a
  // new time-stamped directory under the work directory and lists the names
  // again, blue for the moved and red for the rest, in the same order. Never
  // replaces a file; a file that isn't moved stays where it was.
  MoveResult MoveFiles(TuckawayWindow& window);
  // A double click on an entry takes it off the list, and so off the next move.
  void OnListDoubleClick(TuckawayWindow& window, int64_t index);
  // The open-folder button: shows the last target directory, or the
  // program's directory while there is none.
  void OpenLastTargetFolder(suite::DesktopShell& shell);

 private:
  bool MoveOne(const std::string& name, const std::string& targetDirectory) const;

  std::string sourceDirectory_;
  std::string workDirectory_;
  std::string lastTargetDirectory_;
  const SuiteFileList suiteFiles_;
  TimeStampSource timeStamp_;
  bool refused_ = false;
};

}  // namespace tuckaway
