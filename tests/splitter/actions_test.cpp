#include "splitter/cleavora_actions.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/path_util.h"
#include "recording_window.h"
#include "splitter/cleavora_form.h"
#include "splitter/cleavora_texts.h"
#include "splitter/split.h"
#include "splitter/split_state.h"
#include "test_support/temp_dir.h"

namespace cleavora {
namespace {

using suite::Cp;
using suite::ToUtf8;
using Texts = std::vector<std::string>;

class ActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    suite::SetActiveCodePage(suite::CodePage::Gbk);
    OnInitDialog(window, state);
    window.calls.clear();
  }

  // Types into the piece-size field and presses "使用新参数".
  void Apply(const std::string& typed) {
    window.Fields().linesPerPiece = typed;
    OnBtnApply(window, state);
  }

  suite::testing::TempDir dir;
  SplitState state{dir.Path() + "/"};
  testing::RecordingWindow window;
};

TEST_F(ActionsTest, StartUpShowsTheDefaultPieceSizeInTitleAndField) {
  EXPECT_EQ(ToUtf8(window.Title()), "Cleavora v0.1 基于行的文本文件分割器   [按 1000000 行分割]");
  EXPECT_EQ(window.Fields().linesPerPiece, "1000000");
  EXPECT_EQ(state.LastAcceptedPieceSize(), 1000000);
  EXPECT_TRUE(window.InputEnabled());
}

TEST(PieceSizeFieldTest, ParsesOneDecimalIntegerBetweenBlanks) {
  const std::pair<const char*, std::optional<int64_t>> cases[] = {
      {"20000", 20000},   {" \t20000\t ", 20000}, {"+7", 7},       {"-5", -5},          {"0012", 12},
      {"", std::nullopt}, {" \t", std::nullopt},  {"12 3", std::nullopt}, {"5x", std::nullopt},
      {"+-5", std::nullopt}, {"1e6", std::nullopt}, {"99999999999999999999", std::nullopt},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ParsePieceSizeField(text), value) << '"' << text << '"';
}

TEST_F(ActionsTest, ApplyAcceptsTheRangeBoundsAndRestoresTheLastAcceptedOutsideIt) {
  Apply("10000");
  EXPECT_EQ(window.statusTexts.back(), "新参数设置成功! 将每 10000 行分割成一个小文件。");
  EXPECT_EQ(ToUtf8(window.Title()), "Cleavora v0.1 基于行的文本文件分割器   [按 10000 行分割]");
  EXPECT_EQ(state.LastAcceptedPieceSize(), 10000);

  Apply(" 1000000000 ");
  EXPECT_EQ(window.statusTexts.back(), "新参数设置成功! 将每 1000000000 行分割成一个小文件。");
  EXPECT_EQ(window.Fields().linesPerPiece, "1000000000");
  EXPECT_TRUE(window.ValidationMessages().empty());

  Apply("20000");
  for (const char* rejected : {"9999", "1000000001", "-5", "0"}) {
    window.calls.clear();
    Apply(rejected);
    EXPECT_EQ(window.statusTexts.back(), "新参数设置失败! 恢复原值，将每 20000 行分割成一个小文件。") << rejected;
    EXPECT_EQ(window.LinesPerPiece(), 20000);
    EXPECT_EQ(window.Fields().linesPerPiece, "20000");
    EXPECT_EQ(ToUtf8(window.Title()), "Cleavora v0.1 基于行的文本文件分割器   [按 20000 行分割]");
    EXPECT_EQ(ToUtf8(window.ValidationMessages().back()), "请输入一个介于 10000 和 1000000000 之间的整数。");
    EXPECT_EQ(window.calls.back(), "ShowForm()");
  }
}

TEST_F(ActionsTest, ApplyWithAFieldThatDoesNotParseKeepsThePieceSize) {
  Apply("30000");
  for (const char* typed : {"", "abc"}) {
    Apply(typed);
    EXPECT_EQ(window.statusTexts.back(), "新参数设置成功! 将每 30000 行分割成一个小文件。");
    EXPECT_EQ(ToUtf8(window.ValidationMessages().back()), "请输入一个整数。");
    EXPECT_EQ(window.Fields().linesPerPiece, "30000");
  }
}

TEST_F(ActionsTest, DropTakesTheFirstNameWholeAndIsIgnoredWhileSplitting) {
  const std::string longName = "/" + std::string(1500, 'n');
  OnDropFiles(window, {longName, "/second.txt"});
  EXPECT_EQ(window.Form().filePath, longName);
  EXPECT_EQ(window.Fields().filePath, longName);
  EXPECT_TRUE(window.PathFieldFocused());
  EXPECT_EQ(window.PathFieldSelection(), PathSelection::None);

  window.EnableInput(false);
  window.calls.clear();
  OnDropFiles(window, {"/other.txt"});
  EXPECT_EQ(window.Form().filePath, longName);
  EXPECT_TRUE(window.calls.empty());
}

TEST_F(ActionsTest, ChooseFileStartsInTheProgramDirectoryAndCancelKeepsThePath) {
  window.Fields().filePath = "/typed.txt";
  window.SetChooserAnswer(std::nullopt);
  OnBtnChooseFile(window, state);
  EXPECT_EQ(window.Form().filePath, "/typed.txt");
  EXPECT_FALSE(window.Called("ShowForm()"));
  EXPECT_EQ(window.PathFieldSelection(), PathSelection::All);

  const FileChooserRequest& request = window.ChooserRequests().back();
  EXPECT_EQ(request.title, "Open for Viewer");
  EXPECT_EQ(request.defaultExtension, "txt");
  ASSERT_EQ(request.filters.size(), 2u);
  EXPECT_EQ(request.filters[0].pattern, "*.txt");
  EXPECT_EQ(request.filters[1].pattern, "*.*");
  EXPECT_EQ(request.startDirectory, state.BaseDirectory());
  EXPECT_TRUE(request.existingFileOnly);

  window.SetChooserAnswer("/chosen.txt");
  OnBtnChooseFile(window, state);
  EXPECT_EQ(window.Form().filePath, "/chosen.txt");
  EXPECT_EQ(window.Fields().filePath, "/chosen.txt");
  EXPECT_EQ(window.calls.back(), "FocusPathField(All)");
}

// Start takes a path typed by hand, locks input before the worker starts, and
// the worker's end unlocks it; "打开目录" then shows that split's directory.
TEST_F(ActionsTest, StartSplitsThePathFieldAndOpenDirectoryFindsTheSplit) {
  testing::RecordingShell shell;
  OnBtnOpenDirectory(shell, state);
  ASSERT_EQ(shell.folders.size(), 1u);
  // No split yet: the folder the work directory lies in (the program's own, for a portable program).
  EXPECT_EQ(shell.folders[0].folder, state.BaseDirectory());
  EXPECT_EQ(shell.folders[0].workingDirectory, state.BaseDirectory());

  window.Fields().filePath = suite::testing::WriteFile(dir / "typed.txt", "x\n");
  OnBtnStartSplit(window);
  EXPECT_EQ(window.calls, (Texts{"ReadPathField()", "EnableInput(0)", "StartSplitWorker()"}));
  EXPECT_FALSE(window.InputEnabled());
  EXPECT_EQ(window.WorkersStarted(), 1);

  EXPECT_EQ(RunSplit(window, state), 0);
  EXPECT_TRUE(window.InputEnabled());
  EXPECT_EQ(window.StatusLine(), "分割成功: 将 1 行分割成 1 个小文件");
  EXPECT_EQ(suite::testing::ReadFile(PiecePath(state.LastSplitDirectory(), 0)), "x\r\n");

  OnBtnOpenDirectory(shell, state);
  EXPECT_EQ(shell.folders.back().folder, state.LastSplitDirectory());
  EXPECT_NE(state.LastSplitDirectory(), suite::GetModuleDirectory());
}

}  // namespace
}  // namespace cleavora
