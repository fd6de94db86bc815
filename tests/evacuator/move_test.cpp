#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "common/codepage.h"
#include "common/desktop_shell.h"
#include "common/path_util.h"
#include "evacuator/evacuator.h"
#include "evacuator/tuckaway_texts.h"
#include "recording_window.h"
#include "test_support/temp_dir.h"

namespace tuckaway {
namespace {

using suite::PathExists;
using suite::testing::ReadFile;
using suite::testing::TempDir;
using suite::testing::WriteFile;
using testing::RecordingWindow;
using Names = std::vector<std::string>;
using Colours = std::vector<std::optional<Rgb>>;

constexpr Rgb kBlue = kMovedColour;
constexpr Rgb kRed = kNotMovedColour;

// "%04d%02d%02d_%02d%02d%02d"
bool IsTimeStamp(const std::string& text) {
  if (text.size() != 15 || text[8] != '_') return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i != 8 && !std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}

class RecordingShell : public suite::DesktopShell {
 public:
  std::vector<std::string> folders;
  void OpenFolder(const std::string& folder, const std::string& workingDirectory) override {
    EXPECT_EQ(folder, workingDirectory);
    folders.push_back(folder);
  }
  void OpenFile(const std::string&) override {}
};

class MoveTest : public ::testing::Test {
 protected:
  void SetUp() override { suite::SetActiveCodePage(suite::CodePage::Gbk); }

  Evacuator& Make(Evacuator::TimeStampSource stamp = [] { return std::string("20041203_091502"); }) {
    evacuator.emplace(dir.Path(), SuiteFileList(), std::move(stamp));
    return *evacuator;
  }
  MoveResult Move() { return evacuator->MoveFiles(window); }
  void Refresh() { evacuator->ListFiles(window); }
  std::string Target(const std::string& name = "") const {
    return dir / kWorkDirectoryName + "/20041203_091502" + (name.empty() ? "" : "/" + name);
  }

  TempDir dir;
  RecordingWindow window;
  std::optional<Evacuator> evacuator;
};

TEST_F(MoveTest, MovesEveryListedFileByteForByteAndLeavesTheRest) {
  const std::string binary("\x00\r\n\x1A\xFF end", 9);
  WriteFile(dir / "b.log", binary);
  WriteFile(dir / ".hidden", "hidden");
  // A name in the system's code page: GBK bytes here, UTF-16 on Windows.
  const std::string chinese = SUITE_ON_WINDOWS ? "中文.txt" : "\xD6\xD0\xCE\xC4.txt";
  WriteFile(dir / chinese, "gbk name");
  WriteFile(dir / "ReadMe.txt", "ours");
  ASSERT_EQ(::mkdir((dir / "sub").c_str(), 0777), 0);
  Make();
  Refresh();
  window.calls.clear();

  const MoveResult result = Move();
  const Names names{".hidden", "b.log", chinese};
  EXPECT_EQ(result.names, names);
  EXPECT_EQ(result.markers, (Names{"ok", "ok", "ok"}));
  EXPECT_EQ(window.Names(), names);
  EXPECT_EQ(window.Colours(), (Colours{kBlue, kBlue, kBlue}));

  EXPECT_EQ(ReadFile(Target("b.log")), binary);
  EXPECT_EQ(ReadFile(Target(".hidden")), "hidden");
  EXPECT_EQ(ReadFile(Target(chinese)), "gbk name");
  for (const auto& name : names) EXPECT_FALSE(PathExists(dir / name)) << name;
  EXPECT_EQ(ReadFile(dir / "ReadMe.txt"), "ours");
  EXPECT_TRUE(PathExists(dir / "sub"));

  EXPECT_EQ(evacuator->LastTargetDirectory(), Target());
  EXPECT_EQ(window.TargetText(), Target());
  EXPECT_TRUE(window.TargetFocused());
  EXPECT_EQ(window.TargetSelection().anchor, -1);
  EXPECT_EQ(window.TargetSelection().caret, 1);
  EXPECT_LT(window.IndexOf("SelectTargetFromEnd(1)"), window.IndexOf("ListClear()"));
}

TEST_F(MoveTest, AnEmptyListMakesOnlyTheEmptyTargetDirectory) {
  WriteFile(dir / "readme.TXT", "ours");
  Make(nullptr);  // the time stamp of now
  Refresh();
  window.calls.clear();
  EXPECT_TRUE(Move().names.empty());
  const std::string target = evacuator->LastTargetDirectory();
  const std::string workDirectory = dir / kWorkDirectoryName + "/";
  ASSERT_EQ(target.substr(0, workDirectory.size()), workDirectory);
  EXPECT_TRUE(IsTimeStamp(target.substr(workDirectory.size()))) << target;
  EXPECT_TRUE(PathExists(evacuator->LastTargetDirectory()));
  EXPECT_EQ(window.IndexOf("ListClear()"), -1);
  EXPECT_TRUE(PathExists(dir / "readme.TXT"));
}

TEST_F(MoveTest, FilesThatCantBeMovedTurnRedAndStayInPlace) {
  for (const char* name : {"a", "b", "c", "d", "e"}) WriteFile(dir / name, name);
  Make();
  Refresh();
  evacuator->OnListDoubleClick(window, 1);  // b: off the list, not moved
  ::unlink((dir / "c").c_str());            // c: vanished since the listing
  ::mkdir(Target().substr(0, Target().rfind('/')).c_str(), 0777);
  ::mkdir(Target().c_str(), 0777);
  WriteFile(Target("d"), "there before");  // d: the destination exists
  ::unlink((dir / "e").c_str());            // e: a directory in its place
  ::mkdir((dir / "e").c_str(), 0777);

  const MoveResult result = Move();
  EXPECT_EQ(result.names, (Names{"a", "c", "d", "e"}));
  EXPECT_EQ(result.markers, (Names{"ok", "no", "no", "no"}));
  EXPECT_EQ(window.Colours(), (Colours{kBlue, kRed, kRed, kRed}));
  EXPECT_EQ(ReadFile(Target("a")), "a");
  EXPECT_EQ(ReadFile(dir / "b"), "b");
  EXPECT_EQ(ReadFile(dir / "d"), "d");
  EXPECT_EQ(ReadFile(Target("d")), "there before");
  EXPECT_TRUE(PathExists(dir / "e"));
  EXPECT_FALSE(PathExists(Target("e")));
}

TEST_F(MoveTest, TwoMovesInOneSecondShareTheDirectoryWithoutReplacing) {
  WriteFile(dir / "a.log", "first");
  Make();
  Refresh();
  Move();
  WriteFile(dir / "a.log", "second");
  WriteFile(dir / "b.log", "b");
  Refresh();
  Move();
  EXPECT_EQ(window.Names(), (Names{"a.log", "b.log"}));
  EXPECT_EQ(window.Colours(), (Colours{kRed, kBlue}));
  EXPECT_EQ(ReadFile(Target("a.log")), "first");
  EXPECT_EQ(ReadFile(dir / "a.log"), "second");
  EXPECT_EQ(ReadFile(Target("b.log")), "b");
}

TEST_F(MoveTest, ASecondMoveWithoutRefreshTurnsTheGoneFilesRed) {
  WriteFile(dir / "a.log", "a");
  int stamps = 0;
  Make([&stamps] { return "stamp" + std::to_string(++stamps); });
  Refresh();
  Move();
  EXPECT_EQ(Move().markers, Names{"no"});
  EXPECT_EQ(window.Colours(), Colours{kRed});
  EXPECT_EQ(window.TargetText(), dir / kWorkDirectoryName + "/stamp2");
  EXPECT_TRUE(PathExists(dir / kWorkDirectoryName + "/stamp2"));
  EXPECT_EQ(ReadFile(dir / kWorkDirectoryName + "/stamp1/a.log"), "a");
}

TEST_F(MoveTest, WhenTheTargetCantBeMadeEveryFileTurnsRed) {
  // A file in the work directory's place: nothing can be made under it.
  WriteFile(dir / kWorkDirectoryName, "in the way");
  WriteFile(dir / "a.log", "a");
  Make();
  Refresh();
  const MoveResult result = Move();
  EXPECT_EQ(result.names, (Names{"__Tuckaway__", "a.log"}));
  EXPECT_EQ(result.markers, (Names{"no", "no"}));
  EXPECT_EQ(window.Colours(), (Colours{kRed, kRed}));
  EXPECT_EQ(ReadFile(dir / "a.log"), "a");
  EXPECT_EQ(ReadFile(dir / kWorkDirectoryName), "in the way");
}

// Before a move, and when the target has gone: the folder being emptied (the
// program's own, for a portable program).
TEST_F(MoveTest, OpenFolderShowsTheLastTargetOrTheProgramsDirectory) {
  RecordingShell shell;
  Make();
  evacuator->OpenLastTargetFolder(shell);
  Move();
  evacuator->OpenLastTargetFolder(shell);
  ::rmdir(Target().c_str());
  evacuator->OpenLastTargetFolder(shell);
  EXPECT_EQ(shell.folders, (Names{dir.Path() + "/", Target(), dir.Path() + "/"}));
}

}  // namespace
}  // namespace tuckaway
