#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

#include "common/codepage.h"
#include "common/path_util.h"
#include "recording_windows.h"
#include "snippets/copy_operation.h"
#include "snippets/list_chooser.h"
#include "snippets/snipkeep_dialog.h"
#include "test_support/temp_dir.h"

namespace snipkeep {
namespace {

using suite::Cp;
using suite::testing::TempDir;
using suite::testing::WriteFile;
using testing::RecordingChooserWindow;
using testing::RecordingShell;
using testing::RecordingWindow;
using Texts = std::vector<std::string>;

std::string Status(const std::string& utf8) { return "PostStatus(" + Cp(utf8) + ")"; }

const char* const kExample = "cd /tmp\r\nbuild[release]\r\nmake clean\r\nmake all\r\n[end]\r\nx[1]\r\ny[2]\r\nz\r\nlast[h]\r\n";
enum Entry { kCd, kBuild, kMakeClean, kMakeAll, kEnd, kX1, kY2, kZ, kLastHeading };

TEST(CopyOperationTest, ClipboardTextsWorkOnACopyOfTheBox) {
  const std::string box = "a\r\nb\r\n";
  EXPECT_EQ(ClipboardText(CopyOperation::SingleWithLineEnd, "a b"), "a b\r\n");
  EXPECT_EQ(ClipboardText(CopyOperation::Single, "a b"), "a b");
  EXPECT_EQ(ClipboardText(CopyOperation::MultiDoubled, box), "a\r\n\r\nb\r\n\r\n");
  EXPECT_EQ(box, "a\r\nb\r\n");
  // Only CR LF pairs are doubled, a lone LF or CR stays.
  EXPECT_EQ(ClipboardText(CopyOperation::MultiDoubled, "a\nb\r\r\nc"), "a\nb\r\r\n\r\nc");
  EXPECT_EQ(ClipboardText(CopyOperation::Multi, box), box);
}

class SnipkeepDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    suite::SetActiveCodePage(suite::CodePage::Gbk);
    ::mkdir((root / "config").c_str(), 0777);
    WriteFile(DefaultList(), kExample);
  }

  std::string DefaultList() const { return root / "config/Snipkeep缺省列表文件.txt"; }
  void Start() {
    dialog.InitDialog();
    window.calls.clear();
  }
  void Flags(std::array<bool, kFlagCount> flags) { window.Controls().flags = flags; }
  std::string Clipboard() const { return window.Clipboard(); }

  TempDir root;
  RecordingWindow window;
  RecordingShell shell;
  SnipkeepDialog dialog{window, shell, root / "config", root.Path(), suite::CodePageSetting{}};
};

TEST_F(SnipkeepDialogTest, StartsDisabledWithTheStartFlagsAndTheListLoaded) {
  Flags({false, false, true, false, true});
  dialog.InitDialog();
  EXPECT_EQ(window.calls.front(), "SetTitle(Snipkeep  v0.5.2 (2004.11.28 Sunday))");
  EXPECT_EQ(window.Controls().flags, kFlagsAtStart);
  EXPECT_EQ(window.Entries().size(), 9u);
  EXPECT_EQ(window.Title(), "Snipkeep  v0.5.2 (2004.11.28 Sunday)   [Snipkeep" + Cp("缺省列表文件") + "]");
  for (const Box box : {Box::SingleLine, Box::MultiLine}) EXPECT_FALSE(window.BoxOf(box).enabled);
  for (int button = 1; button <= 4; ++button) EXPECT_FALSE(window.CopyButtonEnabled(static_cast<CopyOperation>(button)));
}

TEST_F(SnipkeepDialogTest, AnOrdinaryEntryFillsTheSingleLineBoxAndCopiesItWithALineEnd) {
  Start();
  window.Controls().multiLineText = "old\r\n";
  dialog.OnEntrySelected(kCd);
  EXPECT_EQ(window.Controls().singleLineText, "cd /tmp");
  EXPECT_EQ(window.Controls().multiLineText, "");
  EXPECT_TRUE(window.BoxOf(Box::SingleLine).enabled);
  EXPECT_TRUE(window.BoxOf(Box::SingleLine).caretAtEnd);
  EXPECT_FALSE(window.BoxOf(Box::MultiLine).enabled);
  EXPECT_EQ(window.Focus(), Box::SingleLine);
  EXPECT_TRUE(window.CopyButtonEnabled(CopyOperation::SingleWithLineEnd));
  EXPECT_TRUE(window.CopyButtonEnabled(CopyOperation::Single));
  EXPECT_FALSE(window.CopyButtonEnabled(CopyOperation::MultiDoubled));
  EXPECT_FALSE(window.CopyButtonEnabled(CopyOperation::Multi));
  EXPECT_EQ(Clipboard(), "cd /tmp\r\n");
  EXPECT_EQ(window.Statuses(), Texts{Status("操作成功，将[单行]框内容复制到剪贴板(追加回车符)。")});

  // A heading's snippet inside is an ordinary entry of its own.
  dialog.OnEntrySelected(kEnd);
  EXPECT_EQ(Clipboard(), "[end]\r\n");
}

TEST_F(SnipkeepDialogTest, AHeadingEntryFillsTheMultiLineBoxAndCopiesItWithDoubledLineEnds) {
  Start();
  dialog.OnEntrySelected(kCd);
  dialog.OnEntrySelected(kBuild);
  EXPECT_EQ(window.Controls().multiLineText, "make clean\r\nmake all\r\n[end]\r\n");
  EXPECT_EQ(window.Controls().singleLineText, "");
  EXPECT_TRUE(window.BoxOf(Box::MultiLine).enabled);
  EXPECT_TRUE(window.BoxOf(Box::MultiLine).caretAtEnd);
  EXPECT_FALSE(window.BoxOf(Box::SingleLine).enabled);
  EXPECT_EQ(window.Focus(), Box::MultiLine);
  EXPECT_TRUE(window.CopyButtonEnabled(CopyOperation::MultiDoubled));
  EXPECT_TRUE(window.CopyButtonEnabled(CopyOperation::Multi));
  EXPECT_FALSE(window.CopyButtonEnabled(CopyOperation::SingleWithLineEnd));
  EXPECT_FALSE(window.CopyButtonEnabled(CopyOperation::Single));
  EXPECT_EQ(Clipboard(), "make clean\r\n\r\nmake all\r\n\r\n[end]\r\n\r\n");
  EXPECT_EQ(window.Statuses().back(), Status("操作成功，将[多行]框内容复制到剪贴板(逐行追加回车符)。"));
}

TEST_F(SnipkeepDialogTest, HeadingsThatGatherNothing) {
  Start();
  dialog.OnEntrySelected(kCd);
  window.calls.clear();
  dialog.OnEntrySelected(kLastHeading);
  EXPECT_TRUE(window.calls.empty());
  EXPECT_EQ(window.Controls().singleLineText, "cd /tmp");

  // Two headings in a row: an empty box, and its copy reports the empty box.
  dialog.OnEntrySelected(kX1);
  EXPECT_TRUE(window.BoxOf(Box::MultiLine).enabled);
  EXPECT_EQ(window.Controls().multiLineText, "");
  EXPECT_EQ(Clipboard(), "cd /tmp\r\n");
  EXPECT_EQ(window.Statuses(), Texts{Status("操作失败，因为[多行]框内容为空(逐行追加回车符)。")});

  window.calls.clear();
  for (const int64_t index : {int64_t{-1}, int64_t{9}}) dialog.OnEntrySelected(index);
  EXPECT_TRUE(window.Starting("SetBoxText(").empty());
}

TEST_F(SnipkeepDialogTest, TheFlagsDecideCaretAndCopy) {
  Start();
  Flags({false, false, false, false, false});
  dialog.OnEntrySelected(kCd);
  dialog.OnEntrySelected(kBuild);
  EXPECT_FALSE(window.BoxOf(Box::SingleLine).caretAtEnd);
  EXPECT_TRUE(window.Called("PlaceCaret(SingleLine,start)"));
  EXPECT_EQ(Clipboard(), "");
  EXPECT_TRUE(window.Statuses().empty());

  Flags({true, false, true, false, true});
  dialog.OnEntrySelected(kZ);
  EXPECT_EQ(Clipboard(), "z");
  dialog.OnEntrySelected(kY2);
  EXPECT_EQ(Clipboard(), "z\r\n");
  EXPECT_EQ(window.Statuses(), (Texts{Status("操作成功，将[单行]框内容复制到剪贴板。"),
                                      Status("操作成功，将[多行]框内容复制到剪贴板。")}));
}

TEST_F(SnipkeepDialogTest, CopyButtonsTakeTheBoxesAsEdited) {
  Start();
  window.Controls().singleLineText = " ";
  window.Controls().multiLineText = "p\r\nq";
  dialog.OnCopy(CopyOperation::SingleWithLineEnd);
  EXPECT_EQ(Clipboard(), " \r\n");
  dialog.OnCopy(CopyOperation::Single);
  EXPECT_EQ(Clipboard(), " ");
  dialog.OnCopy(CopyOperation::MultiDoubled);
  EXPECT_EQ(Clipboard(), "p\r\n\r\nq");
  EXPECT_EQ(window.Controls().multiLineText, "p\r\nq");
  dialog.OnCopy(CopyOperation::Multi);
  EXPECT_EQ(Clipboard(), "p\r\nq");

  window.Controls().singleLineText.clear();
  window.Controls().multiLineText.clear();
  for (int button = 1; button <= 4; ++button) dialog.OnCopy(static_cast<CopyOperation>(button));
  EXPECT_EQ(Clipboard(), "p\r\nq");
  EXPECT_EQ(window.Statuses(), (Texts{Status("操作成功，将[单行]框内容复制到剪贴板(追加回车符)。"),
                                      Status("操作成功，将[单行]框内容复制到剪贴板。"),
                                      Status("操作成功，将[多行]框内容复制到剪贴板(逐行追加回车符)。"),
                                      Status("操作成功，将[多行]框内容复制到剪贴板。"),
                                      Status("操作失败，因为[单行]框内容为空(追加回车符)。"),
                                      Status("操作失败，因为[单行]框内容为空。"),
                                      Status("操作失败，因为[多行]框内容为空(逐行追加回车符)。"),
                                      Status("操作失败，因为[多行]框内容为空。")}));
}

TEST_F(SnipkeepDialogTest, CheckBoxPairsExcludeEachOther) {
  Start();
  auto click = [&](Flag flag, bool on) {
    window.Controls().flags[static_cast<size_t>(flag)] = on;
    dialog.OnFlagClicked(flag);
    return window.Controls().flags;
  };
  using Flags = std::array<bool, kFlagCount>;
  EXPECT_EQ(click(Flag::CopySingle, true), (Flags{true, false, true, true, false}));
  EXPECT_EQ(click(Flag::CopySingleWithLineEnd, true), (Flags{true, true, false, true, false}));
  EXPECT_EQ(click(Flag::CopySingleWithLineEnd, false), (Flags{true, false, false, true, false}));
  EXPECT_EQ(click(Flag::CopyMulti, true), (Flags{true, false, false, false, true}));
  EXPECT_EQ(click(Flag::CopyMultiDoubled, false), (Flags{true, false, false, false, false}));
  EXPECT_EQ(click(Flag::CaretAtEnd, false), (Flags{false, false, false, false, false}));
  EXPECT_EQ(click(Flag::CopyMulti, true), (Flags{false, false, false, false, true}));
  EXPECT_EQ(click(Flag::CaretAtEnd, true), (Flags{true, false, false, false, true}));
}

TEST_F(SnipkeepDialogTest, IconButtons) {
  Start();
  dialog.OnBtnOpenDirectory();
  dialog.OnBtnHelp();
  EXPECT_EQ(shell.opened, Texts{"folder:" + root / "config/"});
  WriteFile(root / "ReadMe.txt", "help");
  dialog.OnBtnHelp();
  EXPECT_EQ(shell.opened.back(), root / "ReadMe.txt");

  dialog.OnBtnEdit();
  EXPECT_EQ(shell.opened.back(), DefaultList());

  WriteFile(DefaultList(), "only\r\n");
  dialog.OnBtnRefresh();
  EXPECT_EQ(window.Entries().size(), 1u);
  EXPECT_EQ(window.Statuses().back(), Status("载入成功! 将文件 " + DefaultList() + " 内容应用到列表!"));
}

TEST_F(SnipkeepDialogTest, TheChooserGetsTheTitleNameAndItsOutcomeIsApplied) {
  WriteFile(root / "config/work.txt", "w\r\n");
  Start();
  RecordingChooserWindow chooserWindow;
  dialog.Lists().ChooseList(ListName{"work", false, "work.txt"}, false);
  window.calls.clear();

  // Closed without a choice: the current list is reloaded.
  window.SetChooserScript([&](ListChooser& chooser) { chooser.OnClose(chooserWindow); });
  dialog.OnBtnChoose();
  EXPECT_EQ(window.calls.front(), "RunListChooser(work)");
  EXPECT_EQ(window.Statuses(), Texts{Status("载入成功! 将文件 " + root / "config/work.txt" + " 内容应用到列表!")});

  // A list created in the chooser is chosen and opened for editing.
  window.SetChooserScript([&](ListChooser& chooser) {
    chooser.OnInitDialog(chooserWindow);
    chooser.FillList(chooserWindow);
    chooserWindow.SetNameAnswer("new");
    chooser.OnNewListFile(chooserWindow);
  });
  dialog.OnBtnChoose();
  EXPECT_EQ(dialog.Lists().CurrentListFile(), root / "config/new.txt");
  EXPECT_EQ(window.Title(), "Snipkeep  v0.5.2 (2004.11.28 Sunday)   [new]");
  EXPECT_EQ(shell.opened, Texts{root / "config/new.txt"});

  // Deleting the current list and closing leaves an empty window.
  window.calls.clear();
  window.SetChooserScript([&](ListChooser& chooser) {
    chooser.OnInitDialog(chooserWindow);
    chooser.FillList(chooserWindow);
    ASSERT_EQ(chooserWindow.Selected(), "new");
    chooser.OnDeleteListFile(chooserWindow);
    chooser.OnClose(chooserWindow);
  });
  dialog.OnBtnChoose();
  EXPECT_EQ(window.Statuses(), Texts{Status("载入失败! 因为文件 " + root / "config/new.txt" + " 不存在!")});
  EXPECT_TRUE(window.Entries().empty());
  EXPECT_FALSE(window.BoxOf(Box::SingleLine).enabled);
}

// One list in GBK, one in UTF-8, side by side in the list directory: each is
// shown, and its entries are copied, as the same characters, whichever code
// page the messages are in.
TEST(SnipkeepCodePagesTest, GbkAndUtf8ListsShowAndCopyTheSame) {
  const std::string list = "cd /tmp\r\n部署[正式]\r\nmake 全部\r\n停靠[船塢\r\n复制 中文\r\n";
  for (const suite::CodePage messages : {suite::CodePage::Gbk, suite::CodePage::Utf8}) {
    suite::SetActiveCodePage(messages);
    TempDir root;
    ::mkdir((root / "config").c_str(), 0777);
    WriteFile(root / "config/gbk.txt", suite::ConvertFromUtf8("GBK", list));
    WriteFile(root / "config/utf8.txt", list);
    RecordingWindow window;
    RecordingShell shell;
    // SUITE_CODEPAGE of the test run aside: each list in its own code page.
    SnipkeepDialog dialog{window, shell, root / "config", root.Path(), suite::CodePageSetting{}};
    dialog.InitDialog();
    std::vector<Texts> shown, copied;
    for (const char* name : {"gbk", "utf8"}) {
      dialog.Lists().ChooseList(ListName{name, false, std::string(name) + ".txt"}, false);
      Texts entries, clipboard;
      for (const auto& entry : window.Entries()) entries.push_back(suite::ToUtf8(entry.text));
      for (int64_t index = 0; index < static_cast<int64_t>(window.Entries().size()); ++index) {
        dialog.OnEntrySelected(index);
        clipboard.push_back(suite::ToUtf8(window.Clipboard()));
      }
      shown.push_back(entries);
      copied.push_back(clipboard);
    }
    const char* const name = suite::CodePageName(messages);
    EXPECT_EQ(shown[0], (Texts{"cd /tmp", "部署[正式]", "make 全部", "停靠[船塢", "复制 中文"})) << name;
    EXPECT_EQ(shown[1], shown[0]) << name;
    // The heading gathers the two lines after it; the line ending in "塢" is none.
    EXPECT_EQ(copied[0], (Texts{"cd /tmp\r\n", "make 全部\r\n\r\n停靠[船塢\r\n\r\n复制 中文\r\n\r\n",
                                "make 全部\r\n", "停靠[船塢\r\n", "复制 中文\r\n"}))
        << name;
    EXPECT_EQ(copied[1], copied[0]) << name;
    EXPECT_EQ(window.Entries()[1].colour, kHeadingColour);
    EXPECT_EQ(window.Entries()[3].colour, kOrdinaryColour);
  }
}

}  // namespace
}  // namespace snipkeep
