#include <gtest/gtest.h>

#include <random>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "common/codepage.h"
#include "common/path_util.h"
#include "recording_windows.h"
#include "snippets/chooser_list.h"
#include "snippets/list_chooser.h"
#include "snippets/list_files.h"
#include "test_support/temp_dir.h"

namespace snipkeep {
namespace {

using suite::Cp;
using suite::PathExists;
using suite::testing::ReadFile;
using suite::testing::TempDir;
using suite::testing::WriteFile;
using testing::RecordingChooserWindow;
using testing::RecordingShell;
using testing::RecordingWindow;
using Texts = std::vector<std::string>;

std::string DefaultName() { return "Snipkeep" + Cp("缺省列表文件"); }

TEST(ChooserListTest, SortedInsertionWithoutRegardToCaseKeepsTheDefaultBehind) {
  suite::SetActiveCodePage(suite::CodePage::Gbk);
  const Texts names{"a", "c", DefaultName()};
  EXPECT_EQ(SortedPosition(names, "B"), 1);
  EXPECT_EQ(SortedPosition(names, "zed"), 3);
  EXPECT_EQ(SortedPosition({"a", "b"}, "B"), 1);  // case decides only between equals
  EXPECT_EQ(SortedPosition({}, "x"), 0);
}

TEST(ChooserListTest, SelectionSearchesAfterAnEntryAndWrapsPreferringTheWholeName) {
  suite::SetActiveCodePage(suite::CodePage::Gbk);
  const Texts names{"ab", "abc", "x"};
  EXPECT_EQ(FindEntryToSelect(names, 0, "a"), 1);   // the first entry is examined last
  EXPECT_EQ(FindEntryToSelect(names, 0, "AB"), 1);  // without regard to case
  EXPECT_EQ(FindEntryToSelect(names, -1, "a"), 0);
  EXPECT_EQ(FindEntryToSelect(names, 2, "a"), 0);  // wraps round
  EXPECT_EQ(FindEntryToSelect(names, 0, "ab"), 0);  // "abc" only begins with it
  EXPECT_EQ(FindEntryToSelect(names, 1, "y"), -1);
  EXPECT_EQ(FindEntryToSelect({}, -1, ""), -1);
  EXPECT_EQ(FindEntryToSelect({"only"}, -1, "ONLY"), 0);
}

// The list a sorted list control builds when the names come one by one: each
// sorted in, a default list appended behind what is there.
std::vector<ChooserEntry> AddedOneByOne(const std::vector<ListName>& found) {
  std::vector<ChooserEntry> entries;
  for (const ListName& list : found) {
    if (list.isDefault) {
      entries.push_back(ChooserEntry{list.name, kDefaultListColour, list.fileName});
      continue;
    }
    Texts names;
    for (const auto& entry : entries) names.push_back(entry.name);
    entries.insert(entries.begin() + SortedPosition(names, list.name),
                   ChooserEntry{list.name, std::nullopt, list.fileName});
  }
  return entries;
}

TEST(ChooserListTest, ArrangedAtOnceAsIfAddedOneByOne) {
  suite::SetActiveCodePage(suite::CodePage::Gbk);
  // Few letters make equal names (a.txt and a.TXT) and names equal but for case.
  const Texts pool{"a", "A", "b", "B", "m", "s", "Snipkeep", "t", "Z", "zz", DefaultName(), DefaultName()};
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::vector<ListName> found;
    const int count = static_cast<int>(random() % 12);
    for (int i = 0; i < count; ++i) {
      const std::string& name = pool[random() % pool.size()];
      // Each its own file name: an entry must carry the one of its list.
      found.push_back(ListName{name, name == DefaultName(), std::to_string(i) + ".txt"});
    }
    ASSERT_EQ(ArrangeChooserList(found), AddedOneByOne(found)) << "round " << round;
  }
  const std::vector<ListName> found{
      {"x", false, "x.txt"}, {DefaultName(), true, "d.txt"}, {"a", false, "a.txt"}, {"z", false, "z.txt"}, {"t", false, "t.txt"}};
  EXPECT_EQ(ArrangeChooserList(found), (std::vector<ChooserEntry>{{"a", std::nullopt, "a.txt"},
                                                                  {"t", std::nullopt, "t.txt"},
                                                                  {"x", std::nullopt, "x.txt"},
                                                                  {DefaultName(), kDefaultListColour, "d.txt"},
                                                                  {"z", std::nullopt, "z.txt"}}));
}

class ListChooserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    suite::SetActiveCodePage(suite::CodePage::Gbk);
    ::mkdir(Dir().c_str(), 0777);
  }

  std::string Dir() const { return root / "config/"; }
  void List(const std::string& name) { WriteFile(Dir() + name, "x\r\n"); }
  ListChooser& Open(const std::string& current) {
    chooser.emplace(lists, current);
    chooser->OnInitDialog(window);
    chooser->FillList(window);
    return *chooser;
  }

  TempDir root;
  RecordingWindow mainWindow;
  RecordingShell shell;
  ListFiles lists{mainWindow, shell, root / "config"};
  RecordingChooserWindow window;
  std::optional<ListChooser> chooser;
};

TEST_F(ListChooserTest, FillsSortedWithTheDefaultListInBlueAndSelectsTheCurrentList) {
  for (const char* name : {"c.TXT", "a.txt", "Snipkeep缺省列表文件.txt", "B.txt", "skip.log"}) List(name);
  Open("B");
  EXPECT_EQ(window.PendingFills(), 1);
  EXPECT_EQ(window.Names(), (Texts{"a", "B", "c", DefaultName()}));
  EXPECT_EQ(window.Entries().back().colour, (Rgb{0, 0, 250}));
  EXPECT_EQ(window.Entries().front().colour, std::nullopt);
  EXPECT_EQ(window.Selected(), "B");
  EXPECT_EQ(window.Entries()[2].fileName, "c.TXT");
  EXPECT_EQ(window.calls, (Texts{"StartFilling()", "ListFill(4,1)"}));
}

// However many lists there are, a fill costs the dialog one call.
TEST_F(ListChooserTest, AFillOfManyListsIsOneCall) {
  for (int i = 0; i < 3000; ++i) List("list" + std::to_string(i) + ".txt");
  List("Snipkeep缺省列表文件.txt");
  Open("LIST2999");
  EXPECT_EQ(window.Names().size(), 3001u);
  EXPECT_EQ(window.Selected(), "list2999");
  EXPECT_EQ(window.calls.size(), 2u);
  EXPECT_EQ(window.Starting("ListFill(").size(), 1u);
}

TEST_F(ListChooserTest, WithoutTheCurrentListTheLastNameFoundStaysSelected) {
  for (const char* name : {"one.txt", "two.txt", "three.txt"}) List(name);
  Open("gone");
  EXPECT_EQ(window.Selected(), lists.EnumerateListFiles().back().name);

  window.calls.clear();
  WriteFile(Dir() + "x.log", "");
  for (const char* name : {"one.txt", "two.txt", "three.txt"}) ::unlink((Dir() + name).c_str());
  chooser->FillList(window);
  EXPECT_TRUE(window.Names().empty());
  EXPECT_EQ(window.calls, Texts{"ListFill(0,-1)"});
}

TEST_F(ListChooserTest, ChoosingTakesTheSelectedEntryAndNeedsOne) {
  List("a.txt");
  List("b.txt");
  Open("zzz");
  window.ListSelect(-1);
  chooser->OnChoose(window);
  EXPECT_FALSE(window.Ended());
  EXPECT_EQ(chooser->Choice(), std::nullopt);

  window.ListSelect(1);
  chooser->OnChoose(window);
  EXPECT_TRUE(window.Ended());
  EXPECT_EQ(chooser->Choice(), (ListName{"b", false, "b.txt"}));
  EXPECT_FALSE(chooser->Created());
}

TEST_F(ListChooserTest, CloseEndsWithoutAChoice) {
  List("a.txt");
  Open("a");
  chooser->OnClose(window);
  EXPECT_TRUE(window.Ended());
  EXPECT_EQ(chooser->Choice(), std::nullopt);
}

TEST_F(ListChooserTest, ANewListIsSortedInSelectedAndChosen) {
  List("a.txt");
  List("c.txt");
  Open("a");

  window.SetNameAnswer(std::nullopt);  // cancelled
  chooser->OnNewListFile(window);
  EXPECT_FALSE(window.Ended());

  window.SetNameAnswer(" A ");  // taken
  chooser->OnNewListFile(window);
  EXPECT_FALSE(window.Ended());
  EXPECT_TRUE(window.Called("ShowMessage(" + Cp("不能输入重名文件") + ")"));

  window.SetNameAnswer("  b ");
  chooser->OnNewListFile(window);
  EXPECT_EQ(ReadFile(Dir() + "b.txt"), "");
  EXPECT_EQ(window.Names(), (Texts{"a", "b", "c"}));
  EXPECT_EQ(window.Selected(), "b");
  EXPECT_TRUE(window.Ended());
  EXPECT_EQ(chooser->Choice(), (ListName{"b", false, "b.txt"}));
  EXPECT_EQ(window.Entries()[1].fileName, "b.txt");
  EXPECT_TRUE(chooser->Created());

  // A chooser opened again starts without the mark.
  chooser->OnInitDialog(window);
  EXPECT_FALSE(chooser->Created());
}

TEST_F(ListChooserTest, DeleteNeedsASelectionAndRefillsAfterAnyConfirmedDeletion) {
  List("a.txt");
  List("b.txt");
  Open("a");
  window.ListSelect(-1);
  chooser->OnDeleteListFile(window);
  EXPECT_TRUE(window.Starting("AskYesNo(").empty());

  window.ListSelect(1);
  window.SetYesNoAnswer(false);
  chooser->OnDeleteListFile(window);
  EXPECT_TRUE(PathExists(Dir() + "b.txt"));
  EXPECT_EQ(window.PendingFills(), 1);

  window.SetYesNoAnswer(true);
  chooser->OnDeleteListFile(window);
  EXPECT_FALSE(PathExists(Dir() + "b.txt"));
  EXPECT_EQ(window.PendingFills(), 2);

  // Gone already (the list wasn't refilled yet): the failure is shown, the refill follows.
  chooser->OnDeleteListFile(window);
  EXPECT_TRUE(window.Called("ShowMessage(" + Cp("删除文件失败。(ERROR-CODE: 2)") + ")"));
  EXPECT_EQ(window.PendingFills(), 3);
  chooser->FillList(window);
  EXPECT_EQ(window.Names(), Texts{"a"});
}

}  // namespace
}  // namespace snipkeep
