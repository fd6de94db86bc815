// What the history browser needs of its dialog.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace lorvane {

// The browser reaches its dialog only through these operations. The listing
// calls them from its worker thread: an implementation carries out each call
// whole, on the dialog's thread, in the order made. Texts are code-page text.
class HistoryWindow {
 public:
  virtual ~HistoryWindow() = default;

  // The report list (see ReportListModel for what each does).
  virtual void ListSetHighlightMode(int mode) = 0;
  virtual void ListSetColumnsFromText(const std::string& record, int count) = 0;
  virtual void ListSetAlternateRowShading(bool on) = 0;
  virtual void ListSetDetailsOnDoubleClick(bool on) = 0;
  virtual void ListSetDoubleClickHandler(std::function<void(const std::string&)> handler) = 0;
  virtual void ListDeleteAllRows() = 0;
  virtual void ListAddRowFromText(const std::string& record, char separator) = 0;
  // -1: every column.
  virtual void ListAutoSizeColumns(int column) = 0;
  virtual bool ListSortByColumnText(int column, bool ascending, int first, int last) = 0;
  virtual int ListRowCount() = 0;
  virtual void ListSetCurrentRow(int row) = 0;
  virtual int ListCurrentRow() = 0;
  virtual std::string ListCurrentRowText(char separator) = 0;
  // The number a row carries beside its cells; it moves with the row.
  virtual void ListSetRowData(int row, std::intptr_t data) = 0;
  virtual std::intptr_t ListRowData(int row) = 0;
  // Selects the row alone and gives it the focus.
  virtual void ListSelectAndFocusRow(int row) = 0;
  virtual void ShowList(bool shown) = 0;

  // Enables or disables "恢复历史情境", "删  除", "刷  新", "取  消", the list
  // and the summary box; "打开根目录" always stays enabled.
  virtual void EnableControls(bool enable) = 0;
  virtual void SetSummary(const std::string& text) = 0;
  // Replaces the status line, then refreshes the dialog's fields.
  virtual void SetHistoryStatus(const std::string& text) = 0;
  // A message box with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;

  // Runs HistoryBrowser::FillHistoryList with this window on a thread of its
  // own at idle priority.
  virtual void StartFill() = 0;
  // True once the dialog is going away: a listing stops early.
  virtual bool Closing() { return false; }
};

}  // namespace lorvane
