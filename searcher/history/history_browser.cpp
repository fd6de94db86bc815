#include "searcher/history/history_browser.h"

#include "common/codepage.h"
#include "common/desktop_shell.h"
#include "common/path_util.h"
#include "searcher/history/history_delete.h"
#include "searcher/history/history_store.h"
#include "searcher/history/history_texts.h"
#include "searcher/history/result_descriptor.h"

namespace lorvane {

void HistoryBrowser::InitDialog(HistoryWindow& window) {
  window.ListSetHighlightMode(2);
  window.ListSetColumnsFromText(HistoryColumnTitles(), kHistoryColumnCount);
  window.ListSetAlternateRowShading(false);
  window.ListSetDetailsOnDoubleClick(true);
  // The dialog restores on a double-click; the list's own details box stays away.
  window.ListSetDoubleClickHandler([](const std::string&) {});
  window.StartFill();
}

void HistoryBrowser::FillHistoryList(HistoryWindow& window) {
  window.EnableControls(false);
  window.ShowList(false);
  window.ListDeleteAllRows();
  window.SetSummary(std::string());

  const std::vector<std::string> directories = ListHistoryDirectories(workDirectory_);
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    listed_ = directories;
  }
  for (size_t number = 0; number < directories.size(); ++number) {
    if (window.Closing()) return;
    const std::string& directory = directories[number];
    const auto timeText = ParseHistoryTime(directory);
    window.ListAddRowFromText(HistoryRowRecord(*timeText, ReadHistoryRow(directory)), kHistoryFieldSeparator);
    window.ListSetRowData(0, static_cast<std::intptr_t>(number) + 1);  // a row is added on top
  }

  window.ListAutoSizeColumns(-1);
  window.ListSortByColumnText(0, true, 0, -1);
  window.ShowList(true);
  window.EnableControls(true);

  if (window.ListRowCount() > 0) {
    window.ListSetCurrentRow(0);
    window.ListSelectAndFocusRow(0);
    ShowHistoryDetails(window);
  }
}

void HistoryBrowser::ShowHistoryDetails(HistoryWindow& window) {
  const int row = window.ListCurrentRow();
  if (row == -1) return;
  const std::string directory = RowDirectory(window, row);
  const std::string descriptor = DescriptorPath(directory);
  if (directory.empty() || !IsEntryOfWorkDirectory(workDirectory_, directory) || !suite::PathExists(descriptor)) {
    SetSelection(directory, std::string());
    window.SetSummary(std::string());
    return;
  }
  SetSelection(directory, descriptor);
  std::string summary;
  if (!ReadHistorySummary(descriptor, &summary)) {
    window.ShowMessage(DescriptorOpenFailedText(descriptor));
    return;
  }
  window.SetSummary(summary);
}

void HistoryBrowser::DeleteHistory(HistoryWindow& window) {
  const std::string directory = SelectedDirectory();
  if (directory.empty()) return;
  // Only the work directory's own entries are history directories.
  if (!suite::PathExists(directory) || !IsEntryOfWorkDirectory(workDirectory_, directory)) {
    window.SetHistoryStatus(DirectoryMissingText(directory));
    return;
  }
  const auto post = [&window](const std::string& message) { window.SetHistoryStatus(message); };
  if (RemoveHistoryDirectory(directory, post) != HistoryRemoval::kRemoved) return;
  window.SetHistoryStatus(HistoryDeletedText(directory));
  window.SetSummary(std::string());
  SetSelection(std::string(), std::string());
  window.StartFill();
}

void HistoryBrowser::OpenWorkDirectory(suite::DesktopShell& shell) const { shell.OpenFolder(workDirectory_, ""); }

std::string HistoryBrowser::SelectedDescriptor() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return selectedDescriptor_;
}

std::string HistoryBrowser::SelectedDirectory() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return selectedDirectory_;
}

std::string HistoryBrowser::RowDirectory(HistoryWindow& window, int row) const {
  const std::intptr_t number = window.ListRowData(row);
  const std::lock_guard<std::mutex> lock(mutex_);
  if (number < 1 || static_cast<size_t>(number) > listed_.size()) return std::string();
  return listed_[static_cast<size_t>(number) - 1];
}

void HistoryBrowser::SetSelection(std::string directory, std::string descriptor) {
  const std::lock_guard<std::mutex> lock(mutex_);
  selectedDirectory_ = std::move(directory);
  selectedDescriptor_ = std::move(descriptor);
}

}  // namespace lorvane
