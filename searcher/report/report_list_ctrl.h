// CReportListCtrl: the report list on a Qt tree view. ReportListModel keeps
// the rows and decides the sort, the current row and how each row is painted;
// the view only draws and hands it the mouse.
#pragma once

#include <QTreeView>
#include <string>

#include "searcher/report/report_list_model.h"

namespace lorvane {

class ReportItemModel;

// Used on the window's thread only.
class CReportListCtrl : public QTreeView {
  Q_OBJECT
 public:
  explicit CReportListCtrl(QWidget* parent = nullptr);
  ~CReportListCtrl() override;

  // The operations of ReportListModel, on the shown list.
  int SetHighlightMode(int mode);
  void SetColumnsFromText(const std::string& record, int count);
  void SetAlternateRowShading(bool on);
  void SetDetailsOnDoubleClick(bool on);
  void SetDoubleClickHandler(ReportListModel::DoubleClickHandler handler);
  void AddRowFromText(const std::string& record, char separator);
  void DeleteAllRows();
  // Fits one column, or every column for -1, to its texts and title.
  void AutoSizeColumns(int column = -1);
  bool SortByColumnText(int column, bool ascending, int first = 0, int last = -1);
  int GetCurrentRow() const { return list_.GetCurrentRow(); }
  void SetCurrentRow(int row) { list_.SetCurrentRow(row); }
  std::string GetCurrentRowText(char separator) const { return list_.GetCurrentRowText(separator); }
  int GetRowCount() const { return list_.GetRowCount(); }
  void SetRowData(int row, std::intptr_t data) { list_.Table().SetRowData(row, data); }
  std::intptr_t GetRowData(int row) const { return list_.Table().HasRow(row) ? list_.Table().Row(row).data : 0; }

  // Selects `row` alone, gives it the focus and scrolls it into view.
  void SelectAndFocusRow(int row);
  // The list's styles: one selected row at most; the selection shown also
  // while the list hasn't the keyboard focus.
  void SetSingleSelection(bool single);
  void SetAlwaysShowSelection(bool always);

  const ReportListModel& Model() const { return list_; }

 signals:
  // A left click on the list (a row or empty space), after the press set
  // the current row.
  void rowClicked();
  // The arrow keys (or Home, End, page keys) moved the focus to another row,
  // which became the current row.
  void currentRowMoved();
  // A left double-click, after the list's own handling of it, with the row
  // under the pointer (-1 on the empty part of the list).
  void rowDoubleClicked(int row);

 protected:
  void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

 private:
  int RowAt(const QPoint& point) const;
  QRect StateImageRect(int left, int top, int height) const;
  bool OnStateImage(int row, const QPoint& point) const;
  // The view's selection and focus from the rows' state, after the rows moved.
  void SyncSelectionFromRows();
  void RowsReordered();
  void ApplyColumnWidths();
  QColor ColourOf(const Colour& colour) const;

  ReportListModel list_;
  ReportItemModel* items_;
  bool alwaysShowSelection_ = false;
  bool syncing_ = false;
};

}  // namespace lorvane
