#include "searcher/report/report_list_ctrl.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <algorithm>
#include <set>
#include <utility>

#include "searcher/report/report_constants.h"
#include "widgets/dialog_colours.h"
#include "widgets/message_box_texts.h"
#include "widgets/qt_text.h"

namespace lorvane {

// The rows and columns of a ReportListModel, as the view asks for them.
class ReportItemModel : public QAbstractTableModel {
 public:
  ReportItemModel(const ReportListModel& list, QObject* parent) : QAbstractTableModel(parent), list_(list) {}

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : list_.GetRowCount(); }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : list_.Table().ColumnCount();
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return QVariant();
    return suite::FromCodePage(list_.Table().CellText(index.row(), index.column()));
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return QVariant();
    return suite::FromCodePage(list_.Table().Column(section).title);
  }

  void BeginReset() { beginResetModel(); }
  void EndReset() { endResetModel(); }
  void BeginInsertTopRow() { beginInsertRows(QModelIndex(), 0, 0); }
  void EndInsertRows() { endInsertRows(); }
  void AllChanged() {
    if (rowCount(QModelIndex()) > 0 && columnCount(QModelIndex()) > 0) {
      emit dataChanged(index(0, 0), index(rowCount(QModelIndex()) - 1, columnCount(QModelIndex()) - 1));
    }
  }

 private:
  const ReportListModel& list_;
};

namespace {

constexpr int kStateImageSize = 13;
constexpr int kStateImageGap = 2;

// What the list measures when a column is fitted: the widest text with room
// for its margins, and the same with the title.
class ViewFitter : public ColumnFitter {
 public:
  ViewFitter(const ReportTable& table, const QFontMetrics& metrics, int margin)
      : table_(table), metrics_(metrics), margin_(margin) {}

  int FitToContents(int column) override {
    if (table_.RowCount() == 0) return 0;
    int widest = 0;
    for (int row = 0; row < table_.RowCount(); ++row) {
      widest = std::max(widest, metrics_.horizontalAdvance(suite::FromCodePage(table_.CellText(row, column))));
    }
    return widest + 2 * margin_;
  }
  int FitToContentsAndTitle(int column) override {
    const int title = metrics_.horizontalAdvance(suite::FromCodePage(table_.Column(column).title)) + 2 * margin_;
    return std::max(FitToContents(column), title);
  }

 private:
  const ReportTable& table_;
  const QFontMetrics& metrics_;
  const int margin_;
};

Qt::Alignment AlignmentOf(ColumnAlignment alignment) {
  switch (alignment) {
    case ColumnAlignment::kRight: return Qt::AlignRight;
    case ColumnAlignment::kCentre: return Qt::AlignHCenter;
    case ColumnAlignment::kLeft: break;
  }
  return Qt::AlignLeft;
}

// One line, vertically centred, no mnemonic prefixes, an ellipsis when it
// doesn't fit.
void DrawCellText(QPainter* painter, const QFontMetrics& metrics, TextSpan span, int top, int height,
                  const QString& text, Qt::Alignment alignment) {
  const int width = span.right - span.left;
  if (width <= 0 || text.isEmpty()) return;
  const QString shown = metrics.elidedText(text, Qt::ElideRight, width);
  painter->drawText(QRect(span.left, top, width, height), alignment | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

}  // namespace

CReportListCtrl::CReportListCtrl(QWidget* parent) : QTreeView(parent), items_(new ReportItemModel(list_, this)) {
  setModel(items_);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setIndentation(0);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSortingEnabled(false);
  header()->setStretchLastSection(false);
  header()->setSectionsMovable(false);
  header()->setSectionsClickable(true);
  header()->setSortIndicatorShown(false);
  header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  // Only a left click reaches sectionClicked.
  connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
    list_.OnHeaderClick(column);
    RowsReordered();
  });
  connect(header(), &QHeaderView::sectionResized, this,
          [this](int column, int, int width) { list_.Table().SetColumnWidth(column, width); });
}

CReportListCtrl::~CReportListCtrl() = default;

int CReportListCtrl::SetHighlightMode(int mode) {
  const int previous = list_.SetHighlightMode(mode);
  viewport()->update();
  return previous;
}

void CReportListCtrl::SetColumnsFromText(const std::string& record, int count) {
  items_->BeginReset();
  list_.SetColumnsFromText(record, count);
  items_->EndReset();
  ApplyColumnWidths();
  SyncSelectionFromRows();
}

void CReportListCtrl::SetAlternateRowShading(bool on) {
  list_.SetAlternateRowShading(on);
  viewport()->update();
}

void CReportListCtrl::SetDetailsOnDoubleClick(bool on) { list_.SetDetailsOnDoubleClick(on); }

void CReportListCtrl::SetDoubleClickHandler(ReportListModel::DoubleClickHandler handler) {
  list_.SetDoubleClickHandler(std::move(handler));
}

void CReportListCtrl::AddRowFromText(const std::string& record, char separator) {
  items_->BeginInsertTopRow();
  list_.AddRowFromText(record, separator);
  items_->EndInsertRows();
}

void CReportListCtrl::DeleteAllRows() {
  items_->BeginReset();
  list_.DeleteAllRows();
  items_->EndReset();
  ApplyColumnWidths();
}

void CReportListCtrl::AutoSizeColumns(int column) {
  const bool updating = updatesEnabled();
  setUpdatesEnabled(false);
  const QFontMetrics metrics(font());
  ViewFitter fitter(list_.Table(), metrics, CellMargin(metrics.horizontalAdvance(QLatin1Char(' '))));
  list_.AutoSizeColumns(column, fitter);
  ApplyColumnWidths();
  setUpdatesEnabled(updating);
}

bool CReportListCtrl::SortByColumnText(int column, bool ascending, int first, int last) {
  if (!list_.SortByColumnText(column, ascending, first, last)) return false;
  RowsReordered();
  return true;
}

void CReportListCtrl::SelectAndFocusRow(int row) {
  ReportTable& table = list_.Table();
  if (!table.HasRow(row)) return;
  for (int each = 0; each < table.RowCount(); ++each) table.SetRowSelected(each, each == row);
  table.FocusRow(row);
  SyncSelectionFromRows();
  scrollTo(items_->index(row, 0));
}

void CReportListCtrl::SetSingleSelection(bool single) {
  setSelectionMode(single ? QAbstractItemView::SingleSelection : QAbstractItemView::ExtendedSelection);
}

void CReportListCtrl::SetAlwaysShowSelection(bool always) {
  alwaysShowSelection_ = always;
  viewport()->update();
}

void CReportListCtrl::ApplyColumnWidths() {
  const ReportTable& table = list_.Table();
  for (int column = 0; column < table.ColumnCount(); ++column) {
    header()->resizeSection(column, table.Column(column).width);
  }
}

void CReportListCtrl::RowsReordered() {
  items_->AllChanged();
  SyncSelectionFromRows();
  viewport()->update();
}

void CReportListCtrl::SyncSelectionFromRows() {
  const ReportTable& table = list_.Table();
  syncing_ = true;
  QItemSelection selection;
  const int lastColumn = std::max(0, table.ColumnCount() - 1);
  for (int row : table.SelectedRows()) selection.select(items_->index(row, 0), items_->index(row, lastColumn));
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  const int focused = table.FocusedRow();
  selectionModel()->setCurrentIndex(focused >= 0 ? items_->index(focused, 0) : QModelIndex(),
                                    QItemSelectionModel::NoUpdate);
  syncing_ = false;
  viewport()->update();
}

void CReportListCtrl::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
  QTreeView::selectionChanged(selected, deselected);
  if (!syncing_) {
    std::set<int> off, on;
    for (const QModelIndex& index : deselected.indexes()) off.insert(index.row());
    for (const QModelIndex& index : selected.indexes()) on.insert(index.row());
    for (int row : off) list_.Table().SetRowSelected(row, false);
    for (int row : on) list_.Table().SetRowSelected(row, true);
  }
  // The highlight may reach the list's right edge: repaint whole rows.
  viewport()->update();
}

void CReportListCtrl::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTreeView::currentChanged(current, previous);
  if (!syncing_) list_.Table().FocusRow(current.isValid() ? current.row() : -1);
  viewport()->update();
}

int CReportListCtrl::RowAt(const QPoint& point) const {
  const QModelIndex index = indexAt(point);
  return index.isValid() ? index.row() : -1;
}

QRect CReportListCtrl::StateImageRect(int left, int top, int height) const {
  return QRect(left + kStateImageGap, top + (height - kStateImageSize) / 2, kStateImageSize, kStateImageSize);
}

bool CReportListCtrl::OnStateImage(int row, const QPoint& point) const {
  if (row < 0 || list_.Table().Row(row).state.stateImage == 0) return false;
  const QRect cell = visualRect(items_->index(row, 0));
  return StateImageRect(header()->sectionViewportPosition(0), cell.top(), cell.height()).contains(point);
}

void CReportListCtrl::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
    const QPoint point = event->position().toPoint();
    const int row = RowAt(point);
    const bool onStateImage = OnStateImage(row, point);
    list_.OnPress(row, onStateImage);
    if (onStateImage) viewport()->update();
  }
  QTreeView::mousePressEvent(event);
}

void CReportListCtrl::mouseReleaseEvent(QMouseEvent* event) {
  QTreeView::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) emit rowClicked();
}

void CReportListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  const int row = RowAt(point);
  if (event->button() == Qt::RightButton) {
    list_.OnPress(row, OnStateImage(row, point));
    QTreeView::mouseDoubleClickEvent(event);
    return;
  }
  if (event->button() != Qt::LeftButton) {
    QTreeView::mouseDoubleClickEvent(event);
    return;
  }
  // Decided before the view's own handling changes the focus.
  const DoubleClickOutcome outcome = list_.OnLeftDoubleClick(row, OnStateImage(row, point));
  QTreeView::mouseDoubleClickEvent(event);
  if (outcome == DoubleClickOutcome::kRowFocused) SyncSelectionFromRows();
  if (outcome == DoubleClickOutcome::kShowDetails) {
    QMessageBox box(QMessageBox::NoIcon, window()->windowTitle(), suite::FromCodePage(list_.RowDetails(row)),
                    QMessageBox::Ok, this);
    suite::UseChineseButtonTexts(box);
    box.exec();
  }
  emit rowDoubleClicked(row);
}

void CReportListCtrl::keyPressEvent(QKeyEvent* event) {
  const int before = currentIndex().isValid() ? currentIndex().row() : -1;
  QTreeView::keyPressEvent(event);
  const int after = currentIndex().isValid() ? currentIndex().row() : -1;
  if (after >= 0 && after != before) {
    list_.SetCurrentRow(after);
    emit currentRowMoved();
  }
}

void CReportListCtrl::focusInEvent(QFocusEvent* event) {
  QTreeView::focusInEvent(event);
  viewport()->update();  // the highlight of the selected rows depends on the focus
}

void CReportListCtrl::focusOutEvent(QFocusEvent* event) {
  QTreeView::focusOutEvent(event);
  viewport()->update();
}

QColor CReportListCtrl::ColourOf(const Colour& colour) const {
  if (const Rgb* rgb = std::get_if<Rgb>(&colour)) return QColor(rgb->red, rgb->green, rgb->blue);
  switch (std::get<SystemColour>(colour)) {
    case SystemColour::kHighlight: return palette().color(QPalette::Active, QPalette::Highlight);
    case SystemColour::kHighlightText: return palette().color(QPalette::Active, QPalette::HighlightedText);
    case SystemColour::kMenu: return suite::MenuColour();
    case SystemColour::kWindow: return palette().color(QPalette::Base);
    case SystemColour::kWindowText: break;
  }
  return palette().color(QPalette::Text);
}

void CReportListCtrl::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const ReportTable& table = list_.Table();
  const int row = index.row();
  if (!table.HasRow(row)) return;
  const ReportRow& data = table.Row(row);
  const RowPaint paint = list_.RowPaintOf(row, hasFocus(), alwaysShowSelection_);
  const int top = option.rect.top();
  const int height = option.rect.height();
  const int left = header()->sectionViewportPosition(0);
  const int right = header()->length() - header()->offset();
  const int clientRight = std::max(right, viewport()->width());
  const int column0Width = header()->sectionSize(0);
  const int labelLeft = left + (data.state.stateImage > 0 ? kStateImageSize + 2 * kStateImageGap : 0);

  QRect area(left, top, right - left, height);
  if (paint.backgroundSpan == PaintSpan::kRowToClientEdge) area.setRight(clientRight - 1);
  if (paint.backgroundSpan == PaintSpan::kColumn0Label) {
    area = QRect(labelLeft, top, left + column0Width - labelLeft, height);
  }

  painter->save();
  painter->fillRect(area, ColourOf(paint.background));

  const QFontMetrics metrics(font());
  const int margin = CellMargin(metrics.horizontalAdvance(QLatin1Char(' ')));
  const QColor textColour = ColourOf(paint.text);
  // With only column 0's label highlighted, the other columns keep the window's text colour.
  const QColor otherTextColour = paint.highlighted && paint.backgroundSpan == PaintSpan::kColumn0Label
                                     ? ColourOf(SystemColour::kWindowText)
                                     : textColour;
  for (int column = 0; column < table.ColumnCount(); ++column) {
    const int x = header()->sectionViewportPosition(column);
    const int width = header()->sectionSize(column);
    if (width <= 0) continue;
    const QString text = suite::FromCodePage(table.CellText(row, column));
    if (column == 0) {
      painter->setClipRect(QRect(x, top, width, height));
      if (data.state.stateImage > 0) {
        QStyleOptionButton box;
        box.rect = StateImageRect(x, top, height);
        box.state = QStyle::State_Enabled | (data.state.stateImage == 2 ? QStyle::State_On : QStyle::State_Off);
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, this);
      }
      painter->setPen(textColour);
      DrawCellText(painter, metrics, Column0TextSpan({labelLeft, x + width}, margin), top, height, text,
                   Qt::AlignLeft);
      painter->setClipping(false);
    } else {
      painter->setPen(otherTextColour);
      DrawCellText(painter, metrics, CellTextSpan({x, x + width}, margin), top, height, text,
                   AlignmentOf(table.Column(column).alignment));
    }
  }
  painter->restore();
}

void CReportListCtrl::paintEvent(QPaintEvent* event) {
  QTreeView::paintEvent(event);
  if (list_.GetRowCount() > 0) return;
  QPainter painter(viewport());
  const QRect area(0, kEmptyListTextGap, viewport()->width(), viewport()->height() - kEmptyListTextGap);
  painter.fillRect(area, palette().color(QPalette::Base));
  painter.setPen(palette().color(QPalette::Text));
  painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, QString::fromLatin1(kEmptyListText));
}

}  // namespace lorvane
