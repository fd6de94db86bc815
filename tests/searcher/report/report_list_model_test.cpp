#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "searcher/report/field_text.h"
#include "searcher/report/report_list_model.h"

namespace lorvane {
namespace {

using Texts = std::vector<std::string>;

class ReportListModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    suite::SetActiveCodePage(suite::CodePage::Gbk);
    CFieldText::InstallSeparator('|');
    CFieldText::InstallSeparator('|');
  }
  void WithColumns(int count) { list.SetColumnsFromText("one|two|three|four", count); }
  Texts Cells(int row) const { return list.Table().Row(row).cells; }

  ReportListModel list;
};

TEST_F(ReportListModelTest, ColumnsFromARecord) {
  list.SetColumnsFromText("0123456789|id", 3);
  const ReportTable& table = list.Table();
  ASSERT_EQ(table.ColumnCount(), 3);
  EXPECT_EQ(table.Column(0).title, "0123456789");
  EXPECT_EQ(table.Column(0).width, 80);
  EXPECT_EQ(table.Column(1).width, 32);
  EXPECT_EQ(table.Column(2).title, "");  // past the record
  EXPECT_EQ(table.Column(2).width, 20);
  EXPECT_EQ(table.Column(1).alignment, ColumnAlignment::kLeft);

  // Titles are split at the current separator, and columns are appended.
  CFieldText::InstallSeparator(',');
  list.SetColumnsFromText("a,b|c", 2);
  EXPECT_EQ(table.Column(4).title, "b|c");
}

TEST_F(ReportListModelTest, RowsGoInAtTheTopWithOneCellPerColumn) {
  WithColumns(3);
  list.AddRowFromText("a\bb\bc", '\b');
  list.AddRowFromText("x", '\b');
  list.AddRowFromText("p\bq\br\bs\bt", '\b');
  ASSERT_EQ(list.GetRowCount(), 3);
  EXPECT_EQ(Cells(0), (Texts{"p", "q", "r"}));
  EXPECT_EQ(Cells(1), (Texts{"x", "", ""}));
  EXPECT_EQ(Cells(2), (Texts{"a", "b", "c"}));

  // The former separator is back, and the saved slot now holds it.
  EXPECT_EQ(CFieldText::Separator(), '|');
  CFieldText::InstallSeparator(',');
  list.AddRowFromText("1\b2", '\b');
  EXPECT_EQ(CFieldText::Separator(), ',');
  CFieldText::RestoreSeparator();
  EXPECT_EQ(CFieldText::Separator(), ',');

  // A column added later is empty in the rows there are.
  list.SetColumnsFromText("late", 1);
  EXPECT_EQ(Cells(3), (Texts{"a", "b", "c", ""}));
}

TEST_F(ReportListModelTest, CellsKeepAtMost10239BytesAndWholeCharacters) {
  WithColumns(2);
  const std::string fits(10239, 'a');
  list.AddRowFromText(fits + "|" + fits + "b", '|');
  EXPECT_EQ(Cells(0), (Texts{fits, fits}));

  // Byte 10239 would be the lead byte of "\xB0\xA1".
  const std::string ascii(10238, 'a');
  list.AddRowFromText(ascii + "\xB0\xA1" + "|" + ascii + "b\xB0\xA1", '|');
  EXPECT_EQ(Cells(0), (Texts{ascii, ascii + "b"}));
}

TEST_F(ReportListModelTest, CurrentRowFollowsPresses) {
  WithColumns(3);
  list.AddRowFromText("a|b|c", '|');
  list.AddRowFromText("d||f", '|');
  EXPECT_EQ(list.GetCurrentRow(), -1);
  EXPECT_EQ(list.GetCurrentRowText('|'), "");

  list.OnPress(1, false);
  EXPECT_EQ(list.GetCurrentRow(), 1);
  EXPECT_EQ(list.GetCurrentRowText('\b'), "a\bb\bc");
  list.SetCurrentRow(0);
  EXPECT_EQ(list.GetCurrentRowText(','), "d,,f");

  list.OnPress(-1, false);  // empty space below the rows
  EXPECT_EQ(list.GetCurrentRow(), -1);
  EXPECT_EQ(list.GetCurrentRowText('|'), "");

  list.SetCurrentRow(-7);
  EXPECT_EQ(list.GetCurrentRow(), -1);
  list.SetCurrentRow(1);
  list.DeleteAllRows();
  EXPECT_EQ(list.GetCurrentRow(), 1);  // only presses and SetCurrentRow change it
  EXPECT_EQ(list.GetCurrentRowText('|'), "");
}

TEST_F(ReportListModelTest, PressOnTheCheckBoxTurnsIt) {
  WithColumns(1);
  list.AddRowFromText("a", '|');
  std::vector<int> faces;
  for (int press = 0; press < 3; ++press) {
    list.OnPress(0, true);
    faces.push_back(list.Table().Row(0).state.stateImage);
  }
  EXPECT_EQ(faces, (std::vector<int>{1, 2, 1}));
  list.OnPress(0, false);
  EXPECT_EQ(list.Table().Row(0).state.stateImage, 1);
}

TEST_F(ReportListModelTest, DoubleClickWithAHandlerNeverShowsDetails) {
  WithColumns(2);
  list.AddRowFromText("a\bb", '\b');
  Texts handed;
  list.SetDoubleClickHandler([&](const std::string& text) { handed.push_back(text); });
  list.Table().FocusRow(0);

  EXPECT_EQ(list.OnLeftDoubleClick(0, false), DoubleClickOutcome::kHandlerCalled);
  EXPECT_EQ(list.OnLeftDoubleClick(-1, false), DoubleClickOutcome::kHandlerCalled);
  EXPECT_EQ(handed, (Texts{"a|b", ""}));
}

TEST_F(ReportListModelTest, DoubleClickFocusesFirstThenShowsDetails) {
  list.SetColumnsFromText(suite::Cp("时间|关键字"), 2);
  list.AddRowFromText("1|x", '|');
  list.AddRowFromText("2|" + suite::Cp("错误"), '|');

  EXPECT_EQ(list.OnLeftDoubleClick(1, false), DoubleClickOutcome::kRowFocused);
  EXPECT_EQ(list.Table().FocusedRow(), 1);
  EXPECT_EQ(list.Table().SelectedRows(), std::vector<int>{1});
  EXPECT_EQ(list.OnLeftDoubleClick(1, false), DoubleClickOutcome::kShowDetails);
  EXPECT_EQ(list.OnLeftDoubleClick(-1, false), DoubleClickOutcome::kNothing);

  EXPECT_EQ(list.RowDetails(0), suite::Cp("第1行\n\n(1) 时间 : 2\n(2) 关键字 : 错误\n"));
  EXPECT_EQ(list.RowDetails(2), "");

  list.SetDetailsOnDoubleClick(false);
  EXPECT_EQ(list.OnLeftDoubleClick(1, false), DoubleClickOutcome::kNothing);
}

class FakeFitter : public ColumnFitter {
 public:
  int FitToContents(int column) override { return contents.at(column); }
  int FitToContentsAndTitle(int column) override { return titled.at(column); }
  std::map<int, int> contents{{0, 50}, {1, 5}, {2, 70}};
  std::map<int, int> titled{{0, 40}, {1, 8}, {2, 90}};
};

TEST_F(ReportListModelTest, AutoSizeTakesTheWiderFitAndPads) {
  WithColumns(3);
  FakeFitter fitter;
  list.AutoSizeColumns(1, fitter);
  EXPECT_EQ(list.Table().Column(0).width, 38);  // untouched
  EXPECT_EQ(list.Table().Column(1).width, 30);  // at least 10, plus 20

  list.AutoSizeColumns(-1, fitter);
  EXPECT_EQ(list.Table().Column(0).width, 70);
  EXPECT_EQ(list.Table().Column(2).width, 110);
  list.AutoSizeColumns(3, fitter);  // no such column: the fitter isn't asked
}

TEST_F(ReportListModelTest, HighlightModeAndOwnerDrawing) {
  EXPECT_EQ(list.GetHighlightMode(), 1);
  EXPECT_FALSE(list.OwnerDrawn());
  EXPECT_EQ(list.SetHighlightMode(0), 1);
  EXPECT_FALSE(list.OwnerDrawn());
  EXPECT_EQ(list.SetHighlightMode(2), 0);
  EXPECT_TRUE(list.OwnerDrawn());
  EXPECT_EQ(list.SetHighlightMode(3), 2);
  EXPECT_EQ(list.SetHighlightMode(-1), 2);
  EXPECT_EQ(list.SetHighlightMode(0), 2);
  EXPECT_TRUE(list.OwnerDrawn());  // once owner-drawn, always
}

TEST_F(ReportListModelTest, RowColoursAndSpans) {
  WithColumns(1);
  for (int i = 0; i < 3; ++i) list.AddRowFromText("r", '|');
  ReportTable& table = list.Table();
  table.SetRowSelected(1, true);

  // Shading: grey for even rows, the menu colour for odd ones, to the edge.
  RowPaint paint = list.RowPaintOf(0, false, false);
  EXPECT_FALSE(paint.highlighted);
  EXPECT_EQ(paint.background, Colour(kEvenRowShade));
  EXPECT_EQ(paint.backgroundSpan, PaintSpan::kRowToClientEdge);
  EXPECT_EQ(paint.text, Colour(SystemColour::kWindowText));
  EXPECT_EQ(list.RowPaintOf(1, false, false).background, Colour(SystemColour::kMenu));  // selected, no focus
  EXPECT_EQ(list.RowPaintOf(1, false, true).background, Colour(SystemColour::kHighlight));

  paint = list.RowPaintOf(1, true, false);
  EXPECT_TRUE(paint.highlighted);
  EXPECT_EQ(paint.text, Colour(SystemColour::kHighlightText));
  EXPECT_EQ(paint.backgroundSpan, PaintSpan::kRowBounds);
  list.SetHighlightMode(2);
  EXPECT_EQ(list.RowPaintOf(1, true, false).backgroundSpan, PaintSpan::kRowToClientEdge);

  // Drop-highlighted rows show whatever the focus.
  RowState dropTarget;
  dropTarget.dropHighlighted = true;
  table.SetRowState(2, dropTarget);
  EXPECT_TRUE(list.RowPaintOf(2, false, false).highlighted);

  list.SetAlternateRowShading(false);
  list.SetHighlightMode(1);
  paint = list.RowPaintOf(0, true, false);
  EXPECT_EQ(paint.background, Colour(SystemColour::kWindow));
  EXPECT_EQ(paint.backgroundSpan, PaintSpan::kRowBounds);
}

}  // namespace
}  // namespace lorvane
