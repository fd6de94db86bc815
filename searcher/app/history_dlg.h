// CHistoryDlg: the history browser, opened modally by the main window.
#pragma once

#include <QDialog>
#include <atomic>
#include <functional>
#include <string>

#include "searcher/history/history_browser.h"
#include "searcher/history/history_window.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace suite {
class DesktopShell;
}

namespace lorvane {

class CReportListCtrl;

// Lists the searches kept in the work directory and lets the user restore
// one, delete its directory, list them again or open the work directory.
// Every operation of the window interface may be called from the listing's
// worker: it is carried out whole on the dialog's thread, in the order made.
// The dialog waits for its worker before it goes.
class CHistoryDlg : public QDialog, public HistoryWindow {
  Q_OBJECT
 public:
  CHistoryDlg(const std::string& workDirectory, suite::DesktopShell& shell, QWidget* parent = nullptr);
  ~CHistoryDlg() override;

  // The descriptor of the row chosen last (see HistoryBrowser).
  std::string SelectedDescriptor() const { return browser_.SelectedDescriptor(); }
  // True while a listing runs or is about to.
  bool Listing() const { return workerRunning_.load(); }

  // The window interface.
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
  bool Closing() override { return closing_.load(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void RefreshForm();
  template <typename Function>
  void OnGui(Function&& function);

  HistoryBrowser browser_;
  suite::DesktopShell& shell_;
  std::string statusText_;
  std::atomic<bool> closing_{false};
  std::atomic<bool> fillRequested_{false};
  std::atomic<bool> workerRunning_{false};
  std::atomic<int> threadsAlive_{0};

  QPlainTextEdit* summaryBox_ = nullptr;
  QPushButton* restoreButton_ = nullptr;
  QPushButton* rootButton_ = nullptr;
  QPushButton* deleteButton_ = nullptr;
  QPushButton* refreshButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  CReportListCtrl* list_ = nullptr;
  QLineEdit* statusLine_ = nullptr;
};

// Runs the history browser on the work directory modally over `parent`. When
// the user restores, `restore` gets the chosen descriptor's path (empty when
// the row has no descriptor).
void BrowseHistory(QWidget* parent, const std::string& workDirectory, suite::DesktopShell& shell,
                   const std::function<void(const std::string&)>& restore);

}  // namespace lorvane
