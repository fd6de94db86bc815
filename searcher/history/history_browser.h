// The history browser's logic: listing the history store, showing a search's
// descriptor, deleting its directory.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "searcher/history/history_window.h"

namespace suite {
class DesktopShell;
}

namespace lorvane {

// The dialog holds one browser for its modal run and forwards its events to
// it. The work directory is fixed. The selection is guarded: the listing sets
// it from its worker thread, the dialog reads it on its own.
class HistoryBrowser {
 public:
  explicit HistoryBrowser(std::string workDirectory) : workDirectory_(std::move(workDirectory)) {}

  const std::string& WorkDirectory() const { return workDirectory_; }

  // The dialog's opening: sets the list up and starts a listing.
  void InitDialog(HistoryWindow& window);

  // The listing, on its worker thread: hides and empties the list with the
  // controls disabled, adds one row per history directory, sorts the rows
  // oldest first, shows the list and enables the controls; then chooses
  // the top row, if there is one.
  void FillHistoryList(HistoryWindow& window);

  // A click on a row: the row's history directory and descriptor become the
  // selection and the descriptor is summarised. Without a current row nothing
  // changes; without a descriptor the summary and the descriptor are emptied.
  void ShowHistoryDetails(HistoryWindow& window);

  // The button "删  除": deletes the selected history directory with its
  // files, without asking; messages go to the status line. After a complete
  // deletion the selection is emptied and the list filled again.
  void DeleteHistory(HistoryWindow& window);

  // The button "打开根目录": the desktop shows the work directory.
  void OpenWorkDirectory(suite::DesktopShell& shell) const;

  // The descriptor of the row chosen last; empty when none, or when its
  // directory has no descriptor.
  std::string SelectedDescriptor() const;
  std::string SelectedDirectory() const;

  // The history directory a row of the last listing stands for, exactly:
  // each row carries the number of its directory, since time texts of odd
  // names can lead back to another directory. Empty for an unknown row.
  std::string RowDirectory(HistoryWindow& window, int row) const;

 private:
  void SetSelection(std::string directory, std::string descriptor);

  const std::string workDirectory_;
  mutable std::mutex mutex_;
  std::vector<std::string> listed_;  // the listing's directories, by row data
  std::string selectedDirectory_;
  std::string selectedDescriptor_;
};

}  // namespace lorvane
