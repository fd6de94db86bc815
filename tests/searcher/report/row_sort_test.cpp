#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "searcher/report/report_list_model.h"

namespace lorvane {
namespace {

using Texts = std::vector<std::string>;

class RowSortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    suite::SetActiveCodePage(suite::CodePage::Gbk);
    list.SetColumnsFromText("key|tag", 2);
  }

  // Rows in the order given; the second column tells them apart.
  void Fill(const Texts& keys) {
    for (size_t i = keys.size(); i-- > 0;) list.AddRowFromText(keys[i] + "|" + std::to_string(i), '|');
  }
  Texts Column(int column) const {
    Texts texts;
    for (int row = 0; row < list.GetRowCount(); ++row) texts.push_back(list.Table().CellText(row, column));
    return texts;
  }

  ReportListModel list;
};

TEST_F(RowSortTest, OrdersByCharactersOfTheCodePage) {
  // 0xFF is a single byte in GBK, so it sorts before every double-byte character.
  Fill({"b", "\xB0\xA1", "B", "", "ab", "\xFF", "a", "\x81\x40"});
  ASSERT_TRUE(list.SortByColumnText(0, true));
  EXPECT_EQ(Column(0), (Texts{"", "B", "a", "ab", "b", "\xFF", "\x81\x40", "\xB0\xA1"}));
  ASSERT_TRUE(list.SortByColumnText(0, false));
  EXPECT_EQ(Column(0), (Texts{"\xB0\xA1", "\x81\x40", "\xFF", "b", "ab", "a", "B", ""}));

  suite::SetActiveCodePage(suite::CodePage::Utf8);
  ASSERT_TRUE(list.SortByColumnText(0, true));
  EXPECT_EQ(Column(0), (Texts{"", "B", "a", "ab", "b", "\x81\x40", "\xB0\xA1", "\xFF"}));
}

TEST_F(RowSortTest, EqualTextsAreNeverSwappedButKeepNoOrder) {
  Fill({"b", "b", "a"});
  list.SortByColumnText(0, true);
  EXPECT_EQ(Column(1), (Texts{"2", "1", "0"}));

  list.DeleteAllRows();
  Fill({"a", "a", "b"});
  list.SortByColumnText(0, false);
  EXPECT_EQ(Column(1), (Texts{"2", "1", "0"}));

  list.DeleteAllRows();
  Fill({"x", "x", "x", "x"});
  list.SortByColumnText(0, true);
  EXPECT_EQ(Column(1), (Texts{"0", "1", "2", "3"}));
}

TEST_F(RowSortTest, RowsMoveWholeWithDataImageAndState) {
  std::mt19937 random(7);
  Texts keys;
  for (int i = 0; i < 300; ++i) keys.push_back(std::string(1, static_cast<char>('a' + random() % 5)) + "\xB0\xA1");
  Fill(keys);
  ReportTable& table = list.Table();
  auto stateOf = [](int tag) {
    return RowState{tag % 2 == 0, tag % 3 == 0, tag == 17, tag % 5 == 0, tag % 4, tag % 3};
  };
  for (int row = 0; row < list.GetRowCount(); ++row) {
    table.SetRowData(row, row);
    table.SetRowImage(row, row * 10);
    table.SetRowState(row, stateOf(row));
  }

  for (bool ascending : {true, false}) {
    ASSERT_TRUE(list.SortByColumnText(0, ascending));
    const Texts sorted = Column(0);
    EXPECT_TRUE(ascending ? std::is_sorted(sorted.begin(), sorted.end())
                          : std::is_sorted(sorted.rbegin(), sorted.rend()));
    std::vector<bool> seen(keys.size());
    for (int row = 0; row < list.GetRowCount(); ++row) {
      const ReportRow& moved = table.Row(row);
      const auto tag = static_cast<int>(moved.data);
      ASSERT_FALSE(seen[tag]);
      seen[tag] = true;
      EXPECT_EQ(moved.cells, (Texts{keys[tag], std::to_string(tag)}));
      EXPECT_EQ(moved.image, tag * 10);
      EXPECT_EQ(moved.state, stateOf(tag));
    }
  }
}

TEST_F(RowSortTest, RangesAndRefusals) {
  Fill({"d", "c", "b", "a", "e"});
  EXPECT_TRUE(list.SortByColumnText(0, true, 1, 3));
  EXPECT_EQ(Column(0), (Texts{"d", "a", "b", "c", "e"}));

  EXPECT_FALSE(list.SortByColumnText(2, true));   // no such column
  EXPECT_FALSE(list.SortByColumnText(-1, true));
  EXPECT_FALSE(list.SortByColumnText(0, true, 2, 2));  // a single row
  EXPECT_FALSE(list.SortByColumnText(0, true, 3, 1));
  EXPECT_FALSE(list.SortByColumnText(0, true, 0, 5));  // past the rows
  EXPECT_FALSE(list.SortByColumnText(0, true, -1, 3));
  EXPECT_EQ(Column(0), (Texts{"d", "a", "b", "c", "e"}));

  list.DeleteAllRows();
  EXPECT_FALSE(list.SortByColumnText(0, true));
  Fill({"a"});
  EXPECT_FALSE(list.SortByColumnText(0, true));
}

TEST_F(RowSortTest, HeaderClicksToggleOnlyOnTheSameColumn) {
  Fill({"b", "a", "c"});
  EXPECT_EQ(list.SortColumn(), -1);

  list.OnHeaderClick(0);
  EXPECT_EQ(Column(0), (Texts{"a", "b", "c"}));
  list.OnHeaderClick(0);
  EXPECT_EQ(Column(0), (Texts{"c", "b", "a"}));
  list.OnHeaderClick(0);
  EXPECT_EQ(Column(0), (Texts{"a", "b", "c"}));

  // A direct sort changes neither the column nor the direction of the clicks.
  list.SortByColumnText(0, false);
  list.OnHeaderClick(0);
  EXPECT_FALSE(list.SortAscending());
  EXPECT_EQ(Column(0), (Texts{"c", "b", "a"}));

  list.OnHeaderClick(1);
  EXPECT_TRUE(list.SortAscending());
  EXPECT_EQ(Column(1), (Texts{"0", "1", "2"}));
  list.OnHeaderClick(0);
  EXPECT_EQ(list.SortColumn(), 0);
  EXPECT_EQ(Column(0), (Texts{"a", "b", "c"}));
}

}  // namespace
}  // namespace lorvane
