#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "built_programs.h"
#include "common/codepage.h"
#include "common/suite_programs.h"
#include "evacuator/evacuator.h"
#include "evacuator/list_colours.h"
#include "common/name_order.h"
#include "evacuator/suite_file_list.h"
#include "evacuator/tuckaway_texts.h"
#include "recording_window.h"
#include "test_support/temp_dir.h"

namespace tuckaway {
namespace {

using suite::testing::TempDir;
using suite::testing::WriteFile;
using testing::RecordingWindow;
using Names = std::vector<std::string>;

class ListingTest : public ::testing::Test {
 protected:
  void SetUp() override { suite::SetActiveCodePage(suite::CodePage::Gbk); }

  Names List(const SuiteFileList& suiteFiles = SuiteFileList()) {
    Evacuator(dir.Path(), suiteFiles).ListFiles(window);
    return window.Names();
  }

  TempDir dir;
  RecordingWindow window;
};

TEST_F(ListingTest, SuiteFilesInAnyCaseAreNeverListed) {
  for (const char* name : {"readme.TXT", "CHANGERECORDS.txt", "tuckaway.EXE", "Lorvane", "SNIPKEEP", "ferrybolt",
                           "Ferrybolt.exe", "Partivo", "LORVANE-CLI", "lorvane-cli.Exe", "Cleavora", "cleavora.exe"}) {
    WriteFile(dir / name, "x");
  }
  EXPECT_EQ(List(), Names{});

  // Only whole names count.
  for (const char* name : {"ReadMe.txt.bak", "Tuckaway.exe~", "old-Lorvane", "Partivo.exe.log"}) WriteFile(dir / name, "x");
  EXPECT_EQ(List(), (Names{"old-Lorvane", "Partivo.exe.log", "ReadMe.txt.bak", "Tuckaway.exe~"}));
}

// A program added to the build and not to the suite's list would be moved away
// with the user's files.
TEST_F(ListingTest, EveryProgramTheBuildShipsIsOnTheSuiteListAndNeverListed) {
  ASSERT_FALSE(kBuiltPrograms.empty());
  Names built;
  for (std::string name : kBuiltPrograms) {
    const std::string ending(suite::kWindowsProgramEnding);
    if (name.size() > ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0) {
      name.resize(name.size() - ending.size());
    }
    built.push_back(name);
  }
  Names listed(suite::kShippedPrograms.begin(), suite::kShippedPrograms.end());
  std::sort(built.begin(), built.end());
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(built, listed);

  for (const std::string& name : built) {
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    for (const std::string& file : {name, name + ".exe", upper, upper + ".EXE"}) WriteFile(dir / file, "x");
  }
  for (const auto& name : suite::kProgramSelfNames) WriteFile(dir / (std::string(name) + ".exe"), "x");
  EXPECT_EQ(List(), Names{});
}

TEST_F(ListingTest, TrailBytesAreNotFoldedInTheComparisonOrTheOrder) {
  SUITE_SKIP_ON_WINDOWS("Windows names are UTF-16: none holds bytes that aren't UTF-8");
  // 0xB0 0x41 is one GBK character whose trail byte is the letter A.
  const SuiteFileList suiteFiles({"\xB0\x61.txt"});
  WriteFile(dir / "\xB0\x41.txt", "x");
  WriteFile(dir / "\xB0\x61.txt", "x");
  EXPECT_EQ(List(suiteFiles), Names{"\xB0\x41.txt"});

  // Folding the trail byte would put "\xB0\x61" first, as a prefix of "\xB0\x61z".
  EXPECT_TRUE(suite::NameSortsBefore("\xB0\x41z", "\xB0\x61"));

  // In UTF-8 the byte 0x41 after 0xB0 is a letter of its own.
  suite::SetActiveCodePage(suite::CodePage::Utf8);
  window.calls.clear();
  EXPECT_EQ(List(SuiteFileList({"\xB0\x61.txt"})), Names{});
}

TEST_F(ListingTest, ListsHiddenFilesButNoDirectories) {
  WriteFile(dir / ".hidden", "x");
  WriteFile(dir / "plain.log", "x");
  ASSERT_EQ(::mkdir((dir / "sub").c_str(), 0777), 0);
  ASSERT_EQ(::mkdir((dir / kWorkDirectoryName).c_str(), 0777), 0);
  WriteFile(dir / "sub/inner.log", "x");
#ifdef _WIN32  // no symbolic links to test with there
  EXPECT_EQ(List(), (Names{".hidden", "plain.log"}));
#else
  ASSERT_EQ(::symlink("sub", (dir / "link-to-dir").c_str()), 0);
  ASSERT_EQ(::symlink("plain.log", (dir / "link-to-file").c_str()), 0);
  ASSERT_EQ(::symlink("nowhere", (dir / "dangling").c_str()), 0);
  EXPECT_EQ(List(), (Names{".hidden", "dangling", "link-to-file", "plain.log"}));
#endif
}

TEST_F(ListingTest, SortsWithoutRegardToCase) {
  for (const char* name : {"b.txt", "a.txt", "C.log", "A.txt", "_first", "B"}) WriteFile(dir / name, "x");
  if (SUITE_ON_WINDOWS) {  // names that differ only in case are one name there
    EXPECT_EQ(List(), (Names{"_first", "a.txt", "B", "b.txt", "C.log"}));
  } else {
    EXPECT_EQ(List(), (Names{"_first", "A.txt", "a.txt", "B", "b.txt", "C.log"}));
  }
  for (const auto& entry : window.Entries()) EXPECT_FALSE(entry.colour);
}

TEST_F(ListingTest, ReplacesTheListAndUnlocksTheButtonsLast) {
  WriteFile(dir / "new.log", "x");
  window.ListAppendColoured("old.log", kMovedColour);
  Evacuator evacuator(dir.Path());  // no separator at the end: one is added
  evacuator.InitDialog(window);
  EXPECT_EQ(window.Title(), "Tuckaway v0.1  (2004.12.03)");
  EXPECT_FALSE(window.ControlsEnabled());
  EXPECT_EQ(window.PendingListings(), 1);

  evacuator.ListFiles(window);
  EXPECT_EQ(window.SourceText(), dir.Path() + "/");
  EXPECT_EQ(window.Names(), Names{"new.log"});
  EXPECT_TRUE(window.ControlsEnabled());
  const long source = window.IndexOf("SetSourceText(" + dir.Path() + "/)");
  const long clear = window.IndexOf("ListClear()");
  const long add = window.IndexOf("ListAddSorted(new.log)");
  EXPECT_TRUE(window.IndexOf("EnableControls(0)") < window.IndexOf("StartListing()"));
  EXPECT_TRUE(source < clear && clear < add && add < window.IndexOf("EnableControls(1)"));
}

TEST_F(ListingTest, AMissingFolderListsNothing) {
  Evacuator(dir / "gone").ListFiles(window);
  EXPECT_EQ(window.ListCount(), 0);
  EXPECT_TRUE(window.ControlsEnabled());
}

}  // namespace
}  // namespace tuckaway
