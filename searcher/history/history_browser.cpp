#include "searcher/history/history_browser.h"

#include "common/codepage.h"
#include "common/desktop_shell.h"
#include "common/path_util.h"
#include "searcher/history/history_delete.h"
#include "searcher/history/history_store.h"
#include "searcher/history/history_texts.h"
#include "searcher/history/result_descriptor.h"
#include "searcher/report/field_text.h"

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

  for (const std::string& directory : ListHistoryDirectories(workDirectory_)) {
    if (window.Closing()) return;
    const auto timeText = ParseHistoryTime(directory);
    window.ListAddRowFromText(HistoryRowRecord(*timeText, ReadHistoryRow(directory)), kHistoryFieldSeparator);
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
  if (window.ListCurrentRow() == -1) return;
  const CFieldText rowText(window.ListCurrentRowText(kHistoryFieldSeparator));
  const std::string directory = HistoryDirectoryOf(workDirectory_, rowText.GetField(0, kHistoryFieldSeparator));
  const std::string descriptor = DescriptorPath(directory);
  if (!IsEntryOfWorkDirectory(workDirectory_, directory) || !suite::PathExists(descriptor)) {
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

void HistoryBrowser::SetSelection(std::string directory, std::string descriptor) {
  const std::lock_guard<std::mutex> lock(mutex_);
  selectedDirectory_ = std::move(directory);
  selectedDescriptor_ = std::move(descriptor);
}

}  // namespace lorvane
