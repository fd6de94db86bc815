// The columns and rows behind the report list, as its list view keeps them.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "searcher/report/report_column.h"
#include "searcher/report/report_row.h"

namespace lorvane {

// Rows and columns are numbered from 0. Every row has one cell per column.
// Reading a row or column that doesn't exist gives an empty value; changing
// one does nothing.
class ReportTable {
 public:
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  bool HasColumn(int column) const { return column >= 0 && column < ColumnCount(); }
  const ReportColumn& Column(int column) const;
  // Appends a column; the rows get an empty cell in it.
  void AppendColumn(ReportColumn column);
  void SetColumnTitle(int column, std::string title);
  void SetColumnWidth(int column, int width);
  void SetColumnAlignment(int column, ColumnAlignment alignment);

  int RowCount() const { return static_cast<int>(rows_.size()); }
  bool HasRow(int row) const { return row >= 0 && row < RowCount(); }
  const ReportRow& Row(int row) const;
  // Inserts a row of empty cells before `row` (at the end when `row` is
  // negative or past it); gives the new row's number.
  int InsertRow(int row);
  void DeleteAllRows() { rows_.clear(); }
  // Exchanges two rows whole: cells, image, data and state.
  void SwapRows(int first, int second);

  const std::string& CellText(int row, int column) const;
  void SetCellText(int row, int column, std::string text);
  void SetRowImage(int row, int image);
  void SetRowData(int row, std::intptr_t data);
  void SetRowState(int row, const RowState& state);

  // At most one row has the focus: focusing one takes it from the others;
  // -1 takes it from all.
  void FocusRow(int row);
  int FocusedRow() const;
  void SetRowSelected(int row, bool selected);
  std::vector<int> SelectedRows() const;

 private:
  std::vector<ReportColumn> columns_;
  std::deque<ReportRow> rows_;  // rows go in at the top
};

}  // namespace lorvane
