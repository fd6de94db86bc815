#include "searcher/report/report_list_model.h"

#include <utility>

#include "common/codepage.h"
#include "searcher/report/column_width.h"
#include "searcher/report/field_text.h"
#include "searcher/report/report_constants.h"
#include "searcher/report/row_details.h"
#include "searcher/report/row_sort.h"

namespace lorvane {
namespace {

// What of a field fits a cell's buffer: cut on a character boundary, so a
// long field never ends in half a character.
std::string CellTextOf(std::string field) {
  if (field.size() <= kMaxCellBytes) return field;
  size_t cut = kMaxCellBytes;
  while (cut > 0 && !suite::IsCharBoundary(suite::ActiveCodePage(), field, cut)) --cut;
  field.resize(cut);
  return field;
}

}  // namespace

int ReportListModel::SetHighlightMode(int mode) {
  const int previous = highlightMode_;
  if (mode < 0 || mode > 2) return previous;
  highlightMode_ = mode;
  if (mode > 0) ownerDrawn_ = true;
  return previous;
}

void ReportListModel::SetColumnsFromText(const std::string& record, int count) {
  const CFieldText titles(record);
  for (int column = 0; column < count; ++column) {
    CFieldText title = titles.GetField(column);
    const int width = TitleColumnWidth(title.size());
    table_.AppendColumn(ReportColumn{std::move(title), width, ColumnAlignment::kLeft});
  }
}

void ReportListModel::AddRowFromText(const std::string& record, char separator) {
  const ScopedSeparator installed(separator);
  const CFieldText fields(record);
  const int row = table_.InsertRow(0);
  for (int column = 0; column < table_.ColumnCount(); ++column) {
    table_.SetCellText(row, column, CellTextOf(fields.GetField(column)));
  }
}

void ReportListModel::AutoSizeColumns(int column, ColumnFitter& fitter) {
  int first = column, last = column;
  if (column == -1) {
    first = 0;
    last = table_.ColumnCount() - 1;
  } else if (!table_.HasColumn(column)) {
    return;
  }
  for (int each = first; each <= last; ++each) {
    const int contents = fitter.FitToContents(each);
    const int contentsAndTitle = fitter.FitToContentsAndTitle(each);
    table_.SetColumnWidth(each, FittedColumnWidth(contents, contentsAndTitle));
  }
}

bool ReportListModel::SortByColumnText(int column, bool ascending, int first, int last) {
  return SortRowsByColumnText(table_, column, ascending, first, last);
}

void ReportListModel::OnHeaderClick(int column) {
  sortAscending_ = column == sortColumn_ ? !sortAscending_ : true;
  sortColumn_ = column;
  SortByColumnText(column, sortAscending_, 0, -1);
}

std::string ReportListModel::GetCurrentRowText(char separator) const {
  std::string text;
  if (!table_.HasRow(currentRow_)) return text;
  for (const std::string& cell : table_.Row(currentRow_).cells) {
    text += cell;
    text += separator;
  }
  if (!text.empty()) text.pop_back();
  return text;
}

void ReportListModel::OnPress(int hitRow, bool onStateImage) {
  currentRow_ = table_.HasRow(hitRow) ? hitRow : -1;
  if (!onStateImage || currentRow_ < 0) return;
  RowState state = table_.Row(currentRow_).state;
  state.stateImage = state.stateImage == 1 ? 2 : 1;
  table_.SetRowState(currentRow_, state);
}

DoubleClickOutcome ReportListModel::OnLeftDoubleClick(int hitRow, bool onStateImage) {
  OnPress(hitRow, onStateImage);
  if (doubleClickHandler_) {
    doubleClickHandler_(GetCurrentRowText(kRowTextSeparator));
    return DoubleClickOutcome::kHandlerCalled;
  }
  if (!detailsOnDoubleClick_ || currentRow_ < 0) return DoubleClickOutcome::kNothing;
  if (table_.Row(currentRow_).state.focused) return DoubleClickOutcome::kShowDetails;
  table_.FocusRow(currentRow_);
  table_.SetRowSelected(currentRow_, true);
  return DoubleClickOutcome::kRowFocused;
}

std::string ReportListModel::RowDetails(int row) const { return RowDetailsText(table_, row); }

std::vector<int> ReportListModel::RowsToRepaintOnFocusChange(bool alwaysShowSelection) const {
  std::vector<int> rows;
  const int focused = table_.FocusedRow();
  if (focused >= 0) rows.push_back(focused);
  if (alwaysShowSelection) return rows;
  for (int row : table_.SelectedRows()) {
    if (row != focused) rows.push_back(row);
  }
  return rows;
}

RowPaint ReportListModel::RowPaintOf(int row, bool listHasFocus, bool alwaysShowSelection) const {
  const ListPaintState list{static_cast<HighlightMode>(highlightMode_), alternateShading_, listHasFocus,
                            alwaysShowSelection};
  return PlanRowPaint(row, table_.Row(row).state, list);
}

}  // namespace lorvane
