#include "searcher/history/history_window_model.h"

#include <algorithm>
#include <utility>

#include "searcher/report/report_constants.h"
#include "searcher/report/report_list_model.h"

namespace lorvane {
namespace {

// Widths as a fixed-pitch font of kTitleByteWidth pixels a byte would give.
class ByteWidthFitter : public ColumnFitter {
 public:
  explicit ByteWidthFitter(const ReportTable& table) : table_(table) {}
  int FitToContents(int column) override {
    size_t widest = 0;
    for (int row = 0; row < table_.RowCount(); ++row) widest = std::max(widest, table_.CellText(row, column).size());
    return kTitleByteWidth * static_cast<int>(widest);
  }
  int FitToContentsAndTitle(int column) override {
    return std::max(FitToContents(column), kTitleByteWidth * static_cast<int>(table_.Column(column).title.size()));
  }

 private:
  const ReportTable& table_;
};

std::string Flag(bool on) { return on ? "1" : "0"; }

}  // namespace

HistoryWindowModel::HistoryWindowModel() : list_(std::make_unique<ReportListModel>()) {}

HistoryWindowModel::~HistoryWindowModel() = default;

std::vector<std::string> HistoryWindowModel::ColumnTitles() const {
  std::vector<std::string> titles;
  for (int column = 0; column < list_->Table().ColumnCount(); ++column) {
    titles.push_back(list_->Table().Column(column).title);
  }
  return titles;
}

int HistoryWindowModel::RowCount() const { return list_->GetRowCount(); }

std::vector<std::string> HistoryWindowModel::Row(int row) const { return list_->Table().Row(row).cells; }

void HistoryWindowModel::ListSetHighlightMode(int mode) {
  Record("ListSetHighlightMode(" + std::to_string(mode) + ")");
  list_->SetHighlightMode(mode);
}

void HistoryWindowModel::ListSetColumnsFromText(const std::string& record, int count) {
  Record("ListSetColumnsFromText(" + record + "," + std::to_string(count) + ")");
  list_->SetColumnsFromText(record, count);
}

void HistoryWindowModel::ListSetAlternateRowShading(bool on) {
  Record("ListSetAlternateRowShading(" + Flag(on) + ")");
  list_->SetAlternateRowShading(on);
}

void HistoryWindowModel::ListSetDetailsOnDoubleClick(bool on) {
  Record("ListSetDetailsOnDoubleClick(" + Flag(on) + ")");
  list_->SetDetailsOnDoubleClick(on);
}

void HistoryWindowModel::ListSetDoubleClickHandler(std::function<void(const std::string&)> handler) {
  Record("ListSetDoubleClickHandler()");
  list_->SetDoubleClickHandler(std::move(handler));
}

void HistoryWindowModel::ListDeleteAllRows() {
  Record("ListDeleteAllRows()");
  list_->DeleteAllRows();
}

void HistoryWindowModel::ListAddRowFromText(const std::string& record, char separator) {
  Record("ListAddRowFromText(" + record + ")");
  list_->AddRowFromText(record, separator);
}

void HistoryWindowModel::ListAutoSizeColumns(int column) {
  Record("ListAutoSizeColumns(" + std::to_string(column) + ")");
  ByteWidthFitter fitter(list_->Table());
  list_->AutoSizeColumns(column, fitter);
}

bool HistoryWindowModel::ListSortByColumnText(int column, bool ascending, int first, int last) {
  Record("ListSortByColumnText(" + std::to_string(column) + "," + Flag(ascending) + "," + std::to_string(first) + "," +
         std::to_string(last) + ")");
  return list_->SortByColumnText(column, ascending, first, last);
}

int HistoryWindowModel::ListRowCount() { return list_->GetRowCount(); }

void HistoryWindowModel::ListSetCurrentRow(int row) {
  Record("ListSetCurrentRow(" + std::to_string(row) + ")");
  list_->SetCurrentRow(row);
}

int HistoryWindowModel::ListCurrentRow() { return list_->GetCurrentRow(); }

std::string HistoryWindowModel::ListCurrentRowText(char separator) { return list_->GetCurrentRowText(separator); }

void HistoryWindowModel::ListSetRowData(int row, std::intptr_t data) { list_->Table().SetRowData(row, data); }

std::intptr_t HistoryWindowModel::ListRowData(int row) {
  return list_->Table().HasRow(row) ? list_->Table().Row(row).data : 0;
}

void HistoryWindowModel::ListSelectAndFocusRow(int row) {
  Record("ListSelectAndFocusRow(" + std::to_string(row) + ")");
  ReportTable& table = list_->Table();
  for (int each = 0; each < table.RowCount(); ++each) table.SetRowSelected(each, each == row);
  table.FocusRow(row);
}

void HistoryWindowModel::ShowList(bool shown) {
  Record("ShowList(" + Flag(shown) + ")");
  listShown_ = shown;
}

void HistoryWindowModel::EnableControls(bool enable) {
  Record("EnableControls(" + Flag(enable) + ")");
  controlsEnabled_ = enable;
}

void HistoryWindowModel::SetSummary(const std::string& text) {
  Record("SetSummary(" + text + ")");
  summary_ = text;
}

void HistoryWindowModel::SetHistoryStatus(const std::string& text) {
  Record("SetHistoryStatus(" + text + ")");
  status_ = text;
}

void HistoryWindowModel::ShowMessage(const std::string& text) {
  Record("ShowMessage(" + text + ")");
  messages_.push_back(text);
}

void HistoryWindowModel::StartFill() {
  Record("StartFill()");
  ++fillRequests_;
}

}  // namespace lorvane
