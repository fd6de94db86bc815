// A history browser held in memory: the state every dialog operation leaves
// behind.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "searcher/history/history_window.h"

namespace lorvane {

class ReportListModel;

// Keeps what the dialog would show, without showing it. The console program
// lists the store through it, and tests use it as their fake: every operation
// is also handed to `Record` as one line ("EnableControls(0)",
// "SetHistoryStatus(...)", ...), so a test can check the order of calls.
// StartFill only counts the request; the caller runs the listing. Not
// thread-safe.
class HistoryWindowModel : public HistoryWindow {
 public:
  HistoryWindowModel();
  ~HistoryWindowModel() override;

  void ListSetHighlightMode(int mode) override;
  void ListSetColumnsFromText(const std::string& record, int count) override;
  void ListSetAlternateRowShading(bool on) override;
  void ListSetDetailsOnDoubleClick(bool on) override;
  void ListSetDoubleClickHandler(std::function<void(const std::string&)> handler) override;
  void ListDeleteAllRows() override;
  void ListAddRowFromText(const std::string& record, char separator) override;
  void ListAutoSizeColumns(int column) override;
  bool ListSortByColumnText(int column, bool ascending, int first, int last) override;
  int ListRowCount() override;
  void ListSetCurrentRow(int row) override;
  int ListCurrentRow() override;
  std::string ListCurrentRowText(char separator) override;
  void ListSetRowData(int row, std::intptr_t data) override;
  std::intptr_t ListRowData(int row) override;
  void ListSelectAndFocusRow(int row) override;
  void ShowList(bool shown) override;
  void EnableControls(bool enable) override;
  void SetSummary(const std::string& text) override;
  void SetHistoryStatus(const std::string& text) override;
  void ShowMessage(const std::string& text) override;
  void StartFill() override;

  ReportListModel& List() { return *list_; }
  const ReportListModel& List() const { return *list_; }
  std::vector<std::string> ColumnTitles() const;
  int RowCount() const;
  // The cells of a row; none for a row that doesn't exist.
  std::vector<std::string> Row(int row) const;
  bool ListShown() const { return listShown_; }
  bool ControlsEnabled() const { return controlsEnabled_; }
  const std::string& Summary() const { return summary_; }
  const std::string& StatusLine() const { return status_; }
  const std::vector<std::string>& Messages() const { return messages_; }
  int FillRequests() const { return fillRequests_; }

 protected:
  virtual void Record(const std::string& call) { (void)call; }

 private:
  // Apart, so that this header stays free of the list's drawing types.
  std::unique_ptr<ReportListModel> list_;
  bool listShown_ = true;
  bool controlsEnabled_ = true;
  std::string summary_;
  std::string status_;
  std::vector<std::string> messages_;
  int fillRequests_ = 0;
};

}  // namespace lorvane
