#include "searcher/report/report_table.h"

#include <utility>

namespace lorvane {
namespace {

const ReportColumn kNoColumn;
const ReportRow kNoRow;
const std::string kNoText;

}  // namespace

const ReportColumn& ReportTable::Column(int column) const { return HasColumn(column) ? columns_[column] : kNoColumn; }

void ReportTable::AppendColumn(ReportColumn column) {
  columns_.push_back(std::move(column));
  for (ReportRow& row : rows_) row.cells.emplace_back();
}

void ReportTable::SetColumnTitle(int column, std::string title) {
  if (HasColumn(column)) columns_[column].title = std::move(title);
}

void ReportTable::SetColumnWidth(int column, int width) {
  if (HasColumn(column)) columns_[column].width = width;
}

void ReportTable::SetColumnAlignment(int column, ColumnAlignment alignment) {
  if (HasColumn(column)) columns_[column].alignment = alignment;
}

const ReportRow& ReportTable::Row(int row) const { return HasRow(row) ? rows_[row] : kNoRow; }

int ReportTable::InsertRow(int row) {
  if (row < 0 || row > RowCount()) row = RowCount();
  ReportRow fresh;
  fresh.cells.resize(columns_.size());
  rows_.insert(rows_.begin() + row, std::move(fresh));
  return row;
}

void ReportTable::SwapRows(int first, int second) {
  if (HasRow(first) && HasRow(second)) std::swap(rows_[first], rows_[second]);
}

const std::string& ReportTable::CellText(int row, int column) const {
  return HasRow(row) && HasColumn(column) ? rows_[row].cells[column] : kNoText;
}

void ReportTable::SetCellText(int row, int column, std::string text) {
  if (HasRow(row) && HasColumn(column)) rows_[row].cells[column] = std::move(text);
}

void ReportTable::SetRowImage(int row, int image) {
  if (HasRow(row)) rows_[row].image = image;
}

void ReportTable::SetRowData(int row, std::intptr_t data) {
  if (HasRow(row)) rows_[row].data = data;
}

void ReportTable::SetRowState(int row, const RowState& state) {
  if (!HasRow(row)) return;
  if (state.focused) FocusRow(-1);
  rows_[row].state = state;
}

void ReportTable::FocusRow(int row) {
  if (row >= 0 && !HasRow(row)) return;
  for (ReportRow& each : rows_) each.state.focused = false;
  if (row >= 0) rows_[row].state.focused = true;
}

int ReportTable::FocusedRow() const {
  for (int row = 0; row < RowCount(); ++row) {
    if (rows_[row].state.focused) return row;
  }
  return -1;
}

void ReportTable::SetRowSelected(int row, bool selected) {
  if (HasRow(row)) rows_[row].state.selected = selected;
}

std::vector<int> ReportTable::SelectedRows() const {
  std::vector<int> selected;
  for (int row = 0; row < RowCount(); ++row) {
    if (rows_[row].state.selected) selected.push_back(row);
  }
  return selected;
}

}  // namespace lorvane
