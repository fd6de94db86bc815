#include <gtest/gtest.h>

#include <cerrno>

#include <algorithm>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "common/codepage.h"
#include "common/path_util.h"
#include "recording_windows.h"
#include "snippets/list_enumeration.h"
#include "snippets/list_files.h"
#include "snippets/list_name.h"
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

const char* const kDefaultFile = "Snipkeep缺省列表文件.txt";  // its name on disk

std::string Status(const std::string& utf8) { return "PostStatus(" + Cp(utf8) + ")"; }

class ListFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { suite::SetActiveCodePage(suite::CodePage::Gbk); }

  std::string Dir() const { return root / "config/"; }
  std::string InDir(const std::string& name) const { return Dir() + name; }
  std::string List(const std::string& name, const std::string& content = "x\r\n") {
    ::mkdir(Dir().c_str(), 0777);
    return WriteFile(InDir(name), content);
  }
  std::vector<ListName> Enumerated() {
    auto names = lists.EnumerateListFiles();
    std::sort(names.begin(), names.end(), [](const ListName& a, const ListName& b) { return a.name < b.name; });
    return names;
  }
  Texts Names() {
    Texts names;
    for (const auto& list : Enumerated()) names.push_back(list.name);
    return names;
  }
  // The list of that file as the chooser hands it back, whether it exists or not.
  static ListName Listed(const std::string& fileName) {
    return ListName{ListNameOfFileName(fileName), false, fileName};
  }

  TempDir root;
  RecordingWindow window;
  RecordingShell shell;
  // Each list in its own code page, whatever SUITE_CODEPAGE the test runs with.
  ListFiles lists{window, shell, root / "config", suite::CodePageSetting{}};
  RecordingChooserWindow boxes;
};

TEST(ListNameTest, TitleNameDropsLowerAndUpperExtensionsOnly) {
  suite::SetActiveCodePage(suite::CodePage::Gbk);
  EXPECT_EQ(TitleNameOfPath("/d/a.txt.txt"), "a");
  EXPECT_EQ(TitleNameOfPath("/d/Notes.TXT"), "Notes");
  EXPECT_EQ(TitleNameOfPath("/d/a.TXT.txt"), "a");
  EXPECT_EQ(TitleNameOfPath("/d/b.Txt"), "b.Txt");
  EXPECT_EQ(TitleNameOfPath("/d.txt/c"), "c");
  // One pass from the left: what the removal joins stays.
  EXPECT_EQ(TitleNameOfPath("/d/a..txttxt"), "a.txt");
  EXPECT_EQ(TitleNameOfPath("a.txt"), "");
  EXPECT_EQ(TitleNameOfPath("/d/"), "");
  EXPECT_EQ(TitleNameOfPath("/d/中文.txt"), Cp("中文"));
}

TEST_F(ListFilesTest, EnumeratesTxtFilesInAnyCaseAndMarksTheDefaultList) {
  for (const char* name : {"Notes.TXT", "a.txt", "b.Txt", "c.log", "txt", "SKAutoLoad.def", kDefaultFile, "中文.txt"}) {
    List(name);
  }
  ::mkdir(InDir("sub").c_str(), 0777);
  const auto names = Enumerated();
  EXPECT_EQ(names, (std::vector<ListName>{{"Notes", false, "Notes.TXT"},
                                          {"Snipkeep" + Cp("缺省列表文件"), true, kDefaultFile},
                                          {"a", false, "a.txt"},
                                          {"b", false, "b.Txt"},
                                          {Cp("中文"), false, "中文.txt"}}));
  EXPECT_TRUE(ListFiles(window, shell, root / "nowhere").EnumerateListFiles().empty());
}

TEST_F(ListFilesTest, StartFallsBackToTheDefaultListWithoutAWord) {
  const std::string defaultPath = InDir(kDefaultFile);
  lists.Start();
  EXPECT_TRUE(PathExists(Dir()));
  EXPECT_EQ(lists.CurrentListFile(), defaultPath);
  EXPECT_EQ(window.Statuses(), Texts{Status("载入失败! 因为文件 " + defaultPath + " 不存在!")});
  EXPECT_EQ(window.Title(), "");  // a failed load leaves the title alone
  EXPECT_FALSE(window.BoxOf(Box::SingleLine).enabled);
  EXPECT_FALSE(window.BoxOf(Box::MultiLine).enabled);
  EXPECT_FALSE(window.CopyButtonEnabled(CopyOperation::SingleWithLineEnd));
  EXPECT_FALSE(window.CopyButtonEnabled(CopyOperation::Multi));

  // An empty auto-load file, one that names a missing file, one that can't be read.
  for (const std::string& content : {std::string(), InDir("gone.txt"), std::string("\r\n") + InDir("a.txt")}) {
    List("a.txt");
    WriteFile(InDir("SKAutoLoad.def"), content);
    lists.Start();
    EXPECT_EQ(lists.CurrentListFile(), defaultPath) << content;
  }
  ::unlink(InDir("SKAutoLoad.def").c_str());
  ::mkdir(InDir("SKAutoLoad.def").c_str(), 0777);
  lists.Start();
  EXPECT_EQ(lists.CurrentListFile(), defaultPath);
}

TEST_F(ListFilesTest, StartLoadsTheListTheAutoLoadFileNames) {
  const std::string path = List("work.txt", "one\r\nh[x]\r\n");
  WriteFile(InDir("SKAutoLoad.def"), path + "\r\nignored");
  lists.Start();
  EXPECT_EQ(lists.CurrentListFile(), path);
  EXPECT_EQ(window.Entries(), (std::vector<SnipkeepWindowModel::ListEntry>{{"one", Rgb{0, 0, 255}},
                                                                          {"h[x]", Rgb{200, 100, 50}}}));
  EXPECT_EQ(window.Title(), "Snipkeep  v0.5.2 (2004.11.28 Sunday)   [work]");
  EXPECT_EQ(window.Statuses(), Texts{Status("载入成功! 将文件 " + path + " 内容应用到列表!")});
  // Controls disabled before the load, which clears the boxes without enabling them.
  EXPECT_FALSE(window.BoxOf(Box::SingleLine).enabled);
}

TEST_F(ListFilesTest, LoadClearsTheBoxesButKeepsTheirStateAndAFailureEmptiesAll) {
  const std::string path = List("a.txt", "x\r\n");
  window.Controls().singleLineText = "typed";
  window.Controls().multiLineText = "typed\r\n";
  window.EnableBox(Box::SingleLine, true);
  ASSERT_TRUE(lists.LoadListFile(path));
  EXPECT_EQ(window.Controls().singleLineText, "");
  EXPECT_EQ(window.Controls().multiLineText, "");
  EXPECT_TRUE(window.BoxOf(Box::SingleLine).enabled);
  EXPECT_EQ(lists.Entries().size(), 1u);

  // A directory exists but doesn't open.
  window.Controls().singleLineText = "typed";
  EXPECT_FALSE(lists.LoadListFile(Dir()));
  EXPECT_EQ(window.Statuses().back(), Status("载入失败! 因为打开文件 " + Dir() + " 失败!"));
  EXPECT_TRUE(window.Entries().empty());
  EXPECT_TRUE(lists.Entries().empty());
  EXPECT_EQ(window.Controls().singleLineText, "");
  EXPECT_FALSE(window.BoxOf(Box::SingleLine).enabled);
}

TEST_F(ListFilesTest, EditingCreatesAMissingListFirst) {
  lists.Start();
  const std::string path = lists.CurrentListFile();
  lists.OpenCurrentListForEditing();
  EXPECT_EQ(ReadFile(path), "");
  EXPECT_EQ(window.Statuses().back(), Status("成功创建缺省列表文件 " + path));
  EXPECT_EQ(shell.opened, Texts{path});

  // An existing list is opened as it is.
  WriteFile(path, "keep");
  window.calls.clear();
  lists.OpenCurrentListForEditing();
  EXPECT_EQ(ReadFile(path), "keep");
  EXPECT_TRUE(window.Statuses().empty());
  EXPECT_EQ(shell.opened.size(), 2u);
}

TEST_F(ListFilesTest, EditingOpensNothingWhenTheListCantBeCreated) {
  ListFiles nowhere(window, shell, root / "missing/config");
  nowhere.Start();
  nowhere.OpenCurrentListForEditing();
  EXPECT_EQ(window.Statuses().back(), Status("创建缺省列表文件 " + nowhere.CurrentListFile() + " 失败!"));
  EXPECT_TRUE(shell.opened.empty());
}

TEST_F(ListFilesTest, CreateTrimsAndRefusesANameTakenInAnyCase) {
  List("Notes.TXT");
  EXPECT_EQ(lists.CreateListFile("  fresh \t", boxes), Listed("fresh.txt"));
  EXPECT_EQ(ReadFile(InDir("fresh.txt")), "");
  EXPECT_EQ(lists.CreateListFile(" \t ", boxes), std::nullopt);
  EXPECT_TRUE(boxes.calls.empty());

  for (const char* name : {"notes", "NOTES", "Fresh"}) {
    EXPECT_EQ(lists.CreateListFile(name, boxes), std::nullopt);
  }
  EXPECT_EQ(boxes.calls, Texts(3, "ShowMessage(" + Cp("不能输入重名文件") + ")"));
  EXPECT_EQ(Names(), (Texts{"Notes", "fresh"}));

  // Only A-Z fold: 0x81 0x41 and 0x81 0x61 are two GBK characters that differ in a trail byte.
  List(suite::ToUtf8("\x81\x41") + ".txt");
  EXPECT_EQ(lists.CreateListFile("\x81\x61", boxes), (ListName{"\x81\x61", false, suite::ToUtf8("\x81\x61") + ".txt"}));
  EXPECT_TRUE(PathExists(InDir(suite::ToUtf8("\x81\x61") + ".txt")));
  EXPECT_EQ(boxes.calls.size(), 3u);
}

TEST_F(ListFilesTest, CreateReportsTheErrorCodeAndNeverLeavesTheDirectory) {
  ::mkdir(Dir().c_str(), 0777);
  EXPECT_EQ(lists.CreateListFile(std::string(300, 'n'), boxes), std::nullopt);
  EXPECT_EQ(lists.CreateListFile("../outside", boxes), std::nullopt);
  EXPECT_EQ(boxes.calls,
            (Texts{"ShowMessage(" + Cp("创建列表文件失败! (ERROR-CODE: " + std::to_string(ENAMETOOLONG) + ")") + ")",
                   "ShowMessage(" + Cp("创建列表文件失败! (ERROR-CODE: " + std::to_string(EINVAL) + ")") + ")"}));
  EXPECT_FALSE(PathExists(root / "outside.txt"));
}

TEST_F(ListFilesTest, DeleteAsksFirstAndReportsAFailure) {
  const std::string path = List("a.txt");
  boxes.SetYesNoAnswer(false);
  EXPECT_FALSE(lists.DeleteListFile(Listed("a.txt"), boxes));
  EXPECT_TRUE(PathExists(path));
  EXPECT_EQ(boxes.calls, Texts{"AskYesNo(" + Cp("您真的要删除该列表文件吗?") + ")"});

  boxes.SetYesNoAnswer(true);
  boxes.calls.clear();
  EXPECT_TRUE(lists.DeleteListFile(Listed("a.txt"), boxes));
  EXPECT_FALSE(PathExists(path));
  EXPECT_EQ(boxes.calls.size(), 1u);

  EXPECT_TRUE(lists.DeleteListFile(Listed("a.txt"), boxes));
  EXPECT_EQ(boxes.calls.back(), "ShowMessage(" + Cp("删除文件失败。(ERROR-CODE: 2)") + ")");

  // The chooser lists Notes.TXT as Notes, with its file name.
  List("Notes.TXT");
  EXPECT_TRUE(lists.DeleteListFile(Enumerated().front(), boxes));
  EXPECT_FALSE(PathExists(InDir("Notes.TXT")));
}

TEST_F(ListFilesTest, ChooseMakesTheListCurrentAndRemembersIt) {
  const std::string path = List("work.txt", "w\r\n");
  lists.ChooseList(Listed("work.txt"), false);
  EXPECT_EQ(lists.CurrentListFile(), path);
  EXPECT_EQ(window.Statuses(), (Texts{Status("载入成功! 将文件 " + path + " 内容应用到列表!"),
                                     Status("载入成功! 文件 work.txt")}));
  EXPECT_EQ(ReadFile(InDir("SKAutoLoad.def")), path);
  EXPECT_TRUE(shell.opened.empty());

  // A list just created in the chooser opens in the editor.
  const std::string fresh = List("fresh.txt", "");
  lists.ChooseList(Listed("fresh.txt"), true);
  EXPECT_EQ(shell.opened, Texts{fresh});

  // Notes.TXT on disk is named Notes.txt.
  const std::string upper = List("Notes.TXT");
  lists.ChooseList(Listed("Notes.TXT"), false);
  EXPECT_EQ(lists.CurrentListFile(), upper);
  EXPECT_EQ(window.Statuses().back(), Status("载入成功! 文件 Notes.txt"));
  EXPECT_EQ(window.Title(), "Snipkeep  v0.5.2 (2004.11.28 Sunday)   [Notes]");
}

// Whatever its name, a listed list loads: the list keeps its file's name as
// the file system spells it, which the name shown can't always give back.
TEST_F(ListFilesTest, EveryListedListLoadsWhateverItsName) {
  for (const auto codePage : {suite::CodePage::Gbk, suite::CodePage::Utf8}) {
    suite::SetActiveCodePage(codePage);
#ifdef _WIN32
    // A Windows name is UTF-16 (no byte that isn't UTF-8) and holds no backslash.
    // Without GB18030 (Wine) a GBK list of names can't hold what GBK lacks.
    Texts files{"中文.txt", "plain.txt"};
    if (suite::ConvertExactly("GB18030", "UTF-8", "\xF0\x9F\x98\x80")) files.push_back("\xF0\x9F\x98\x80.txt");
#else
    const Texts files{"中文.txt", "\xF0\x9F\x98\x80.txt" /* GBK lacks it */, "raw\xB0.txt" /* not UTF-8 */,
                      "raw\\xB0.txt" /* shows as the one before */};
#endif
    for (const std::string& file : files) List(file, file + "\r\n");
    const std::vector<ListName> listed = Enumerated();
    ASSERT_EQ(listed.size(), files.size());
    for (const ListName& list : listed) {
      window.calls.clear();
      lists.ChooseList(list, false);
      EXPECT_EQ(lists.CurrentListFile(), InDir(list.fileName));
      // Each file holds its own name: the list shows it as the chooser shows the name.
      ASSERT_EQ(window.Texts().size(), 1u) << suite::ToUtf8(list.name);
      EXPECT_EQ(suite::ToUtf8(window.Texts()[0]), suite::ToUtf8(list.name + ".txt"));
      EXPECT_EQ(window.Statuses().back(), "PostStatus(" + Cp("载入成功! 文件 ") + list.name + ".txt)");
      EXPECT_EQ(ReadFile(InDir("SKAutoLoad.def")), InDir(list.fileName));
    }
    EXPECT_EQ(window.Title(), "Snipkeep  v0.5.2 (2004.11.28 Sunday)   [" + listed.back().name + "]");

    // Deleted by the name it was listed under: only that file goes.
    boxes.SetYesNoAnswer(true);
    EXPECT_TRUE(lists.DeleteListFile(listed.front(), boxes));
    EXPECT_EQ(Enumerated().size(), files.size() - 1);
    for (const std::string& file : files) ::unlink(InDir(file).c_str());
  }
}

TEST_F(ListFilesTest, ChoosingAMissingListReloadsTheCurrentOne) {
  const std::string path = List("work.txt", "w\r\n");
  lists.ChooseList(Listed("work.txt"), false);
  window.calls.clear();
  lists.ChooseList(Listed("gone.txt"), true);
  EXPECT_EQ(lists.CurrentListFile(), path);
  EXPECT_EQ(window.Statuses(), (Texts{Status("载入成功! 将文件 " + path + " 内容应用到列表!"),
                                     Status("载入失败! 因为 gone.txt 文件不存在!")}));
  EXPECT_EQ(ReadFile(InDir("SKAutoLoad.def")), path);
  EXPECT_TRUE(shell.opened.empty());
}

TEST_F(ListFilesTest, AChosenListThatDoesntLoadIsNotReportedAsLoaded) {
  ::mkdir(Dir().c_str(), 0777);
  ::mkdir(InDir("dir.txt").c_str(), 0777);
  lists.ChooseList(Listed("dir.txt"), false);
  EXPECT_EQ(lists.CurrentListFile(), InDir("dir.txt"));
  EXPECT_EQ(window.Statuses(), Texts{Status("载入失败! 因为打开文件 " + InDir("dir.txt") + " 失败!")});
  EXPECT_EQ(ReadFile(InDir("SKAutoLoad.def")), InDir("dir.txt"));
}

TEST_F(ListFilesTest, AnAutoLoadFileThatCantBeWrittenIsReportedAndTheEditorStaysShut) {
  const std::string path = List("fresh.txt", "");
  ::mkdir(InDir("SKAutoLoad.def").c_str(), 0777);
  lists.ChooseList(Listed("fresh.txt"), true);
  EXPECT_EQ(lists.CurrentListFile(), path);
  const std::string loaded = Status("载入成功! 将文件 " + path + " 内容应用到列表!");
  EXPECT_EQ(window.Statuses(), (Texts{loaded, Status("载入成功! 文件 fresh.txt"),
                                     Status("注意! 因为创建配置文件 " + InDir("SKAutoLoad.def") + " 失败!"), loaded}));
  EXPECT_TRUE(shell.opened.empty());
}

}  // namespace
}  // namespace snipkeep
