#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QMessageBox>
#include <QTimer>
#include <memory>
#include <QTest>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "searcher/report/report_constants.h"
#include "searcher/report/report_list_ctrl.h"
#include "test_support/patience.h"

using suite::testing::kPatienceMs;

namespace {

using lorvane::CReportListCtrl;
using Texts = std::vector<std::string>;

Texts Column(const CReportListCtrl& list, int column) {
  Texts texts;
  for (int row = 0; row < list.GetRowCount(); ++row) texts.push_back(list.Model().Table().CellText(row, column));
  return texts;
}

QPoint RowPoint(const CReportListCtrl& list, int row) { return list.visualRect(list.model()->index(row, 0)).center(); }

void ClickHeader(CReportListCtrl& list, int column, Qt::MouseButton button = Qt::LeftButton) {
  QHeaderView* header = list.header();
  QTest::mouseClick(header->viewport(), button, {},
                    QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
}

// Pixels of the viewport as painted now.
QImage Painted(CReportListCtrl& list) { return list.viewport()->grab().toImage(); }

bool HasDarkPixelIn(const QImage& image, const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (qGray(image.pixel(x, y)) < 100) return true;
    }
  }
  return false;
}

}  // namespace

class ReportListCtrlTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { suite::SetActiveCodePage(suite::CodePage::Gbk); }

  void headerClicksSortAndRowsKeepTheirSelection() {
    CReportListCtrl list;
    list.resize(400, 300);
    list.SetColumnsFromText("key|tag", 2);
    for (const char* row : {"b|1", "a|2", "c|3"}) list.AddRowFromText(row, '|');
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list, kPatienceMs));
    QCOMPARE(Column(list, 0), (Texts{"c", "a", "b"}));  // rows go in at the top

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowPoint(list, 1));  // "a"
    ClickHeader(list, 0);
    QCOMPARE(Column(list, 0), (Texts{"a", "b", "c"}));
    // The selection went along with its row, in the view and in the rows' state.
    QCOMPARE(list.selectionModel()->selectedRows().size(), qsizetype{1});
    QCOMPARE(list.selectionModel()->selectedRows().front().row(), 0);
    QVERIFY(list.Model().Table().Row(0).state.selected);
    QCOMPARE(list.currentIndex().row(), 0);

    ClickHeader(list, 0);
    QCOMPARE(Column(list, 0), (Texts{"c", "b", "a"}));
    QCOMPARE(list.selectionModel()->selectedRows().front().row(), 2);
    ClickHeader(list, 1);  // another column: ascending again
    QCOMPARE(Column(list, 1), (Texts{"1", "2", "3"}));
    ClickHeader(list, 1, Qt::RightButton);
    QCOMPARE(Column(list, 1), (Texts{"1", "2", "3"}));
    QCOMPARE(list.Model().SortColumn(), 1);
    QVERIFY(list.Model().SortAscending());
  }

  void pressesTrackTheCurrentRow() {
    CReportListCtrl list;
    list.resize(400, 300);
    list.SetColumnsFromText("key|tag", 2);
    list.AddRowFromText("x|1", '|');
    list.AddRowFromText("y", '|');
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list, kPatienceMs));
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, RowPoint(list, 1));
    QCOMPARE(list.GetCurrentRow(), 1);
    QCOMPARE(list.GetCurrentRowText('|'), std::string("x|1"));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowPoint(list, 0));
    QCOMPARE(list.GetCurrentRowText('|'), std::string("y|"));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(5, list.viewport()->height() - 5));
    QCOMPARE(list.GetCurrentRow(), -1);
    QCOMPARE(list.GetCurrentRowText('|'), std::string());
  }

  void doubleClickGoesToTheHandler() {
    CReportListCtrl list;
    list.resize(400, 300);
    list.SetColumnsFromText("key|tag", 2);
    list.AddRowFromText("x\bp|q", '\b');
    Texts handed;
    list.SetDoubleClickHandler([&handed](const std::string& text) { handed.push_back(text); });
    int signalled = 0;
    QObject::connect(&list, &CReportListCtrl::rowDoubleClicked, [&signalled] { ++signalled; });
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list, kPatienceMs));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, RowPoint(list, 0));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, QPoint(5, list.viewport()->height() - 5));
    QCOMPARE(handed, (Texts{"x|p|q", ""}));
    QCOMPARE(signalled, 2);
  }

  void doubleClickWithoutHandlerShowsTheRowsDetails() {
    CReportListCtrl list;
    list.resize(400, 300);
    list.SetColumnsFromText("key|tag", 2);
    list.AddRowFromText("x|1", '|');
    list.AddRowFromText("y|2", '|');
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list, kPatienceMs));
    // A real double-click starts with a press and a release; QTest sends the
    // double-click alone.
    auto doubleClick = [&list](int row) {
      QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowPoint(list, row));
      QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, RowPoint(list, row));
    };
    auto shown = std::make_shared<QString>();
    auto answered = suite::testing::WhenModal<QMessageBox>([shown](QMessageBox* box) {
      *shown = box->text();
      box->accept();
    });
    doubleClick(1);
    QVERIFY(*answered);
    QCOMPARE(*shown, QString::fromUtf8("第2行\n\n(1) key : x\n(2) tag : 1\n"));
    list.SetDetailsOnDoubleClick(false);
    doubleClick(0);  // a box would block here until the test times out
    QVERIFY(list.Model().Table().Row(0).state.focused);
  }

  void emptyListShowsItsTextUntilARowComes() {
    CReportListCtrl list;
    list.resize(400, 200);
    list.SetColumnsFromText("key", 1);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list, kPatienceMs));
    const QRect strip(0, lorvane::kEmptyListTextGap, list.viewport()->width(), 20);
    QVERIFY(HasDarkPixelIn(Painted(list), strip));
    list.AddRowFromText("", '|');
    QVERIFY(!HasDarkPixelIn(Painted(list), strip));
    list.DeleteAllRows();
    QVERIFY(HasDarkPixelIn(Painted(list), strip));
  }

  void highlightAndShadingReachTheRightEdge() {
    CReportListCtrl list;
    list.resize(500, 200);
    list.SetColumnsFromText("a|b", 2);
    list.AddRowFromText("odd|1", '|');
    list.AddRowFromText("even|0", '|');
    list.SetAlwaysShowSelection(true);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list, kPatienceMs));
    const int edge = list.viewport()->width() - 3;  // right of every column
    QVERIFY(list.header()->length() < edge);
    const int y0 = RowPoint(list, 0).y(), y1 = RowPoint(list, 1).y();

    // Shading: even rows grey, odd rows the menu colour, out to the edge.
    QImage image = Painted(list);
    QCOMPARE(image.pixel(edge, y0), QColor(225, 225, 225).rgb());
    QVERIFY(image.pixel(edge, y1) != QColor(225, 225, 225).rgb());

    // Mode 1 highlights the row's columns, mode 2 the row out to the edge.
    const QRgb highlight = list.palette().color(QPalette::Active, QPalette::Highlight).rgb();
    list.SelectAndFocusRow(1);
    image = Painted(list);
    QCOMPARE(image.pixel(1, y1), highlight);
    QVERIFY(image.pixel(edge, y1) != highlight);
    QCOMPARE(list.SetHighlightMode(2), 1);
    QCOMPARE(Painted(list).pixel(edge, y1), highlight);
    QCOMPARE(list.SetHighlightMode(3), 2);  // ignored
    // Without the focus and without "always show", a selected row isn't highlighted.
    list.SetAlwaysShowSelection(false);
    list.clearFocus();
    QVERIFY(!list.hasFocus());
    QVERIFY(Painted(list).pixel(1, y1) != highlight);
  }
};

QTEST_MAIN(ReportListCtrlTest)
#include "report_list_ctrl_test.moc"
