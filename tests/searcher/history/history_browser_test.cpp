#include "searcher/history/history_browser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "searcher/history/history_store.h"
#include "searcher/history/history_window_model.h"
#include "searcher/report/report_list_model.h"
#include "test_support/temp_dir.h"

namespace lorvane {
namespace {

namespace fs = std::filesystem;
using suite::Cp;
using suite::testing::TempDir;
using suite::testing::WriteFile;
using Texts = std::vector<std::string>;

// The in-memory dialog with every call kept, in UTF-8.
class RecordingHistoryWindow : public HistoryWindowModel {
 public:
  Texts calls;
  bool Called(const std::string& call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }
  long IndexOf(const std::string& call) const {
    const auto at = std::find(calls.begin(), calls.end(), call);
    return at == calls.end() ? -1 : static_cast<long>(at - calls.begin());
  }

 protected:
  void Record(const std::string& call) override { calls.push_back(suite::ToUtf8(call)); }
};

class HistoryBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    suite::SetActiveCodePage(suite::CodePage::Gbk);
    fs::create_directories(work + "/__Clipboard__");
    target = WriteFile(dir / "app.log", "one ERROR\r\n");
    browser.InitDialog(window);
  }

  // A history directory with a descriptor of the given keyword and match flag.
  std::string Search(const std::string& name, const std::string& keyword = "ERROR", const std::string& match = "N") {
    const std::string history = work + "/" + name;
    fs::create_directories(history);
    WriteFile(history + "/000000.txt", "0000000001|0000000001| one ERROR\r\n");
    WriteFile(history + "/result.lvn", history + "\r\n" + target + "\r\n" + keyword + "\r\n" + match +
                                           "\r\n11B\r\n1\r\n1\r\n_mp[0]=0;\r\n");
    return history;
  }

  void Fill() {
    window.calls.clear();
    browser.FillHistoryList(window);
  }
  // Chooses a row as a click on it does.
  void Click(int row) {
    window.List().OnPress(row, false);
    browser.ShowHistoryDetails(window);
  }
  std::string Summary() const { return suite::ToUtf8(window.Summary()); }
  std::string Status() const { return suite::ToUtf8(window.StatusLine()); }

  TempDir dir;
  const std::string work = dir / "__Lorvane__";
  std::string target;
  RecordingHistoryWindow window;
  HistoryBrowser browser{work};
};

TEST_F(HistoryBrowserTest, OpeningSetsTheListUpAndStartsAListing) {
  EXPECT_EQ(window.calls, (Texts{"ListSetHighlightMode(2)",
                                 "ListSetColumnsFromText(搜索时间|结果行数|总行数|关键字|匹配|文件大小|目标文件名|存在性,8)",
                                 "ListSetAlternateRowShading(0)", "ListSetDetailsOnDoubleClick(1)",
                                 "ListSetDoubleClickHandler()", "StartFill()"}));
  EXPECT_EQ(window.ColumnTitles().size(), 8u);
  EXPECT_EQ(suite::ToUtf8(window.ColumnTitles()[7]), "存在性");
  // The handler keeps the list's own details box away.
  Search("20041203_091502");
  Fill();
  EXPECT_EQ(window.List().OnLeftDoubleClick(0, false), DoubleClickOutcome::kHandlerCalled);
}

TEST_F(HistoryBrowserTest, AnEmptyStoreGivesAnEmptyListAndNothingToRestore) {
  Fill();
  EXPECT_EQ(window.calls, (Texts{"EnableControls(0)", "ShowList(0)", "ListDeleteAllRows()", "SetSummary()",
                                 "ListAutoSizeColumns(-1)", "ListSortByColumnText(0,1,0,-1)", "ShowList(1)",
                                 "EnableControls(1)"}));
  EXPECT_EQ(window.RowCount(), 0);
  EXPECT_EQ(browser.SelectedDescriptor(), "");
  EXPECT_EQ(browser.SelectedDirectory(), "");
}

TEST_F(HistoryBrowserTest, OldestOnTopChosenAndSummarisedAtOnce) {
  Search("20041203_091502", "ERROR", "Y");
  const std::string older = Search("20041201_235959", "a|b", "N");
  Fill();
  ASSERT_EQ(window.RowCount(), 2);
  EXPECT_EQ(window.Row(0), (Texts{"2004-12-01 23:59:59", "1", "1", "a|b", "", "11B", "app.log", ""}));
  EXPECT_EQ(window.Row(1)[0], "2004-12-03 09:15:02");
  EXPECT_EQ(window.Row(1)[4], "Yes");
  EXPECT_LT(window.IndexOf("EnableControls(1)"), window.IndexOf("ListSelectAndFocusRow(0)"));
  EXPECT_TRUE(window.Called("ListSetCurrentRow(0)"));
  EXPECT_TRUE(window.List().Table().Row(0).state.selected);
  EXPECT_EQ(browser.SelectedDirectory(), older);
  EXPECT_EQ(browser.SelectedDescriptor(), older + "/result.lvn");
  EXPECT_EQ(Summary(), "[目标文件目录] " + target + "\r\n[搜索的关键字] a|b\r\n[大小写匹配吗] N\r\n"
                       "[目标文件尺寸] 11B\r\n[目标文件行数] 1\r\n[搜索结果行数] 1\r\n_mp[0]=0;\r\n");

  // A click elsewhere changes the choice; a click on no row leaves it.
  Click(1);
  EXPECT_EQ(browser.SelectedDirectory(), work + "/20041203_091502");
  Click(-1);
  EXPECT_EQ(browser.SelectedDirectory(), work + "/20041203_091502");
  EXPECT_NE(Summary(), "");
}

TEST_F(HistoryBrowserTest, ADirectoryWithoutDescriptorIsListedButRestoresNothing) {
  fs::create_directories(work + "/20041203_091502");
  WriteFile(work + "/20041209_000000", "not a directory");
  Fill();
  ASSERT_EQ(window.RowCount(), 1);
  EXPECT_EQ(window.Row(0), (Texts{"2004-12-03 09:15:02", "", "", "", "", "", "", ""}));
  EXPECT_EQ(browser.SelectedDirectory(), work + "/20041203_091502");
  EXPECT_EQ(browser.SelectedDescriptor(), "");
  EXPECT_EQ(Summary(), "");
  // It can be deleted all the same.
  browser.DeleteHistory(window);
  EXPECT_EQ(Status(), "删除目录成功: " + work + "/20041203_091502");
}

TEST_F(HistoryBrowserTest, ADescriptorThatCantBeOpenedKeepsTheSelection) {
  const std::string history = work + "/20041203_091502";
  fs::create_directories(history + "/result.lvn");
  Fill();
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_EQ(suite::ToUtf8(window.Messages()[0]), "打开 result.lvn 文件失败! FileName[" + history + "/result.lvn]");
  EXPECT_EQ(browser.SelectedDescriptor(), history + "/result.lvn");
}

TEST_F(HistoryBrowserTest, DeletingRefreshesTheListOnlyWhenFilesWereDeleted) {
  const size_t before = window.calls.size();
  browser.DeleteHistory(window);  // nothing chosen
  EXPECT_EQ(window.calls.size(), before);

  const std::string history = Search("20041201_235959");
  Search("20041203_091502");
  Fill();
  window.calls.clear();
  browser.DeleteHistory(window);
  EXPECT_EQ(window.calls, (Texts{"SetHistoryStatus(成功删除搜索历史目录: " + history + ")", "SetSummary()",
                                 "StartFill()"}));
  EXPECT_FALSE(fs::exists(history));
  EXPECT_EQ(browser.SelectedDirectory(), "");
  EXPECT_EQ(browser.SelectedDescriptor(), "");
  Fill();
  ASSERT_EQ(window.RowCount(), 1);
  EXPECT_EQ(window.Row(0)[0], "2004-12-03 09:15:02");

  // With a subdirectory: its files go, the rest stays, no new listing.
  const std::string kept = work + "/20041203_091502";
  fs::create_directory(kept + "/sub");
  window.calls.clear();
  browser.DeleteHistory(window);
  EXPECT_EQ(window.calls, Texts{"SetHistoryStatus(删除目录失败! 因为该目录中含有子目录，请手工处理!)"});
  EXPECT_TRUE(fs::exists(kept + "/sub"));
  EXPECT_FALSE(fs::exists(kept + "/result.lvn"));
  EXPECT_EQ(browser.SelectedDirectory(), kept);

  // Gone meanwhile.
  fs::remove_all(kept);
  browser.DeleteHistory(window);
  EXPECT_EQ(Status(), "目录不存在: " + kept);
}

// A row carries its own directory: the time text of an odd name can read
// back as another directory, which must never be summarised or deleted for it.
TEST_F(HistoryBrowserTest, ARowActsOnlyOnItsOwnDirectory) {
  // "ab" reads back as .../ab--e__/_ab: a directory below another entry.
  fs::create_directories(work + "/ab");
  const std::string nested = work + "/ab--e__/_ab";
  Search("ab--e__");
  fs::create_directories(nested);
  WriteFile(nested + "/result.lvn", "x\r\n");
  // Two names with one time text: each row keeps to its own.
  const std::string stamp = Search("20041203_091502", "plain");
  const std::string longer = Search("20041203X_091502", "longer");
  Fill();
  ASSERT_EQ(window.RowCount(), 4);
  for (int row = 0; row < window.RowCount(); ++row) {
    Click(row);
    const std::string keyword = window.Row(row)[3];
    if (keyword == "plain") {
      EXPECT_EQ(browser.SelectedDirectory(), stamp);
    } else if (keyword == "longer") {
      EXPECT_EQ(browser.SelectedDirectory(), longer);
    }
  }
  const auto rowOf = [this](const std::string& time) {
    for (int row = 0; row < window.RowCount(); ++row) {
      if (window.Row(row)[0] == time) return row;
    }
    return -1;
  };
  Click(rowOf("ab-- e_:_/:ab"));  // the time text of "ab", which reads back as `nested`
  EXPECT_EQ(browser.SelectedDirectory(), work + "/ab");
  EXPECT_EQ(browser.SelectedDescriptor(), "");
  EXPECT_EQ(Summary(), "");
  browser.DeleteHistory(window);
  EXPECT_EQ(Status(), "删除目录成功: " + work + "/ab");
  EXPECT_TRUE(fs::exists(nested + "/result.lvn"));

  Fill();
  for (int row = 0; row < window.RowCount(); ++row) {
    if (window.Row(row)[3] == "longer") {
      Click(row);
    }
  }
  browser.DeleteHistory(window);
  EXPECT_FALSE(fs::exists(longer));
  EXPECT_TRUE(fs::exists(stamp + "/result.lvn"));
}

// Names a row can't carry (the field separator would split it, a line end the
// console's line) are not listed, so they can't lead a row to another name.
TEST_F(HistoryBrowserTest, NamesWithTheSeparatorOrALineEndAreNotListed) {
  SUITE_SKIP_ON_WINDOWS("Windows names can't hold a line end or a control character");
  const std::string prefix = Search("2024_");
  for (const char* name : {"2024\x08_000000", "2024\n_000000", "2024\r_000000"}) Search(name);
  Fill();
  ASSERT_EQ(window.RowCount(), 1);
  Click(0);
  EXPECT_EQ(browser.SelectedDirectory(), prefix);
}

}  // namespace
}  // namespace lorvane
