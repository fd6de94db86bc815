// The report list of the history browser without its window: columns and rows
// from records, the header-click sort, the current row, the double-click
// decision and the drawing mode. The window layer paints from it and feeds it
// the mouse.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "searcher/report/report_table.h"
#include "searcher/report/row_paint.h"

namespace lorvane {

// What the window measures when it fits a column (its list's own fitting).
class ColumnFitter {
 public:
  virtual ~ColumnFitter() = default;
  // The width that fits the column's cell texts.
  virtual int FitToContents(int column) = 0;
  // The width that fits its cell texts and its title.
  virtual int FitToContentsAndTitle(int column) = 0;
};

// What a left double-click led to; the window acts on it.
enum class DoubleClickOutcome {
  kNothing,
  kHandlerCalled,  // the double-click handler got the row's texts
  kShowDetails,    // show RowDetails(row) in a message box with an OK button
  kRowFocused,     // the row became focused and selected (the window repaints)
};

// Used on the window's thread only: AddRowFromText changes the process-wide
// field separator for its duration.
class ReportListModel {
 public:
  using DoubleClickHandler = std::function<void(const std::string& rowText)>;

  // Modes above 2 (and below 0) are ignored. Gives the previous mode.
  int SetHighlightMode(int mode);
  int GetHighlightMode() const { return highlightMode_; }
  // Rows are drawn by the list itself once a mode above 0 was set.
  bool OwnerDrawn() const { return ownerDrawn_; }

  // Appends `count` left-aligned columns titled with the fields of `record`
  // (current separator), each TitleColumnWidth wide.
  void SetColumnsFromText(const std::string& record, int count);
  void SetAlternateRowShading(bool on) { alternateShading_ = on; }
  bool AlternateRowShading() const { return alternateShading_; }
  void SetDetailsOnDoubleClick(bool on) { detailsOnDoubleClick_ = on; }
  void SetDoubleClickHandler(DoubleClickHandler handler) { doubleClickHandler_ = std::move(handler); }

  // Inserts a row at the top whose cells are the fields of `record` split at
  // `separator`: missing fields give empty cells, extra fields are dropped, a
  // cell keeps at most kMaxCellBytes bytes (never half a character). The
  // separator is installed for the call (see CFieldText::InstallSeparator).
  void AddRowFromText(const std::string& record, char separator);
  void DeleteAllRows() { table_.DeleteAllRows(); }

  // Fits one column, or every column for -1: the larger of the two widths
  // the list measures, at least kMinFittedWidth, plus kColumnPadding.
  void AutoSizeColumns(int column, ColumnFitter& fitter);

  // See SortRowsByColumnText. The header-click direction stays as it was.
  bool SortByColumnText(int column, bool ascending, int first = 0, int last = -1);
  // A left click on a column's header: the same column again flips the
  // direction, another one sorts ascending; then all rows are sorted.
  void OnHeaderClick(int column);
  int SortColumn() const { return sortColumn_; }
  bool SortAscending() const { return sortAscending_; }

  // The row under the mouse at the last press; -1 for none.
  int GetCurrentRow() const { return currentRow_ < 0 ? -1 : currentRow_; }
  void SetCurrentRow(int row) { currentRow_ = row; }
  // The current row's cells joined by `separator`; empty without a current
  // row, or when it no longer exists.
  std::string GetCurrentRowText(char separator) const;
  int GetRowCount() const { return table_.RowCount(); }

  // A left or right press, or a right double-click, on `hitRow` (-1: no
  // row). A press on a row's check box turns face 1 into 2 and any other
  // into 1. The window's own selection handling comes after this.
  void OnPress(int hitRow, bool onStateImage);
  // A left double-click: the press, then the handler when one is set,
  // otherwise the details of a focused row (or focus for an unfocused one)
  // when details are on. Call it before the window's own handling of the
  // double-click changes the focus.
  DoubleClickOutcome OnLeftDoubleClick(int hitRow, bool onStateImage);
  std::string RowDetails(int row) const;

  // The rows whose look changes when the list gains or loses the focus: the
  // focused row and, unless the selection always shows, the selected rows.
  std::vector<int> RowsToRepaintOnFocusChange(bool alwaysShowSelection) const;
  // How to paint `row` in the list's present state.
  RowPaint RowPaintOf(int row, bool listHasFocus, bool alwaysShowSelection) const;

  const ReportTable& Table() const { return table_; }
  // For the window's standard handling: selection, focus, images, data.
  ReportTable& Table() { return table_; }

 private:
  ReportTable table_;
  int highlightMode_ = 1;
  bool ownerDrawn_ = false;
  bool alternateShading_ = true;
  bool detailsOnDoubleClick_ = true;
  DoubleClickHandler doubleClickHandler_;
  int currentRow_ = -1;
  int sortColumn_ = -1;
  bool sortAscending_ = true;
};

}  // namespace lorvane
