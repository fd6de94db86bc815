// Which folder the evacuator empties: never a system folder, the home folder
// or one it can't write.
#include "evacuator/source_folder.h"

#include <gtest/gtest.h>

#include <map>

#include "common/codepage.h"
#include "common/path_util.h"
#include "evacuator/evacuator.h"
#include "evacuator/tuckaway_window_model.h"
#include "test_support/temp_dir.h"

namespace {

using tuckaway::ChooseSourceFolder;
using tuckaway::FolderFacts;
using tuckaway::SourceOrigin;

// A file system of a few folders: path as given -> what it is.
struct FakeFolders {
  std::map<std::string, FolderFacts> folders;
  FolderFacts operator()(const std::string& path) const {
    const auto found = folders.find(path);
    return found == folders.end() ? FolderFacts{} : found->second;
  }
};

suite::PlaceFacts Facts(const std::string& programDirectory, bool writable = true) {
  suite::PlaceFacts facts;
  facts.programDirectory = programDirectory;
  facts.programDirectoryWritable = writable;
  facts.home = "/home/ann";
  return facts;
}

FakeFolders Folders() {
  FakeFolders fake;
  fake.folders["/home/ann/suite/"] = {true, true, "/home/ann/suite"};
  fake.folders["/home/ann/logs"] = {true, true, "/home/ann/logs"};
  fake.folders["logs"] = {true, true, "/home/ann/logs"};
  fake.folders["/home/ann"] = {true, true, "/home/ann"};
  fake.folders["/home/ann/"] = {true, true, "/home/ann"};
  fake.folders["/usr/bin/"] = {true, true, "/usr/bin"};  // as root
  fake.folders["/link-to-usr-bin"] = {true, true, "/usr/bin"};
  fake.folders["/home/bob/shared"] = {true, false, "/home/bob/shared"};
  fake.folders["/home/ann/notes.txt"] = {false, true, "/home/ann/notes.txt"};
  return fake;
}

TEST(SourceFolderTest, WhereTheFolderComesFrom) {
  SUITE_SKIP_ON_WINDOWS("POSIX paths and folders");
  // A portable copy without arguments: its own folder, as always.
  auto folder = ChooseSourceFolder({}, Facts("/home/ann/suite/"), "/home/ann/logs", Folders());
  EXPECT_EQ(folder.directory, "/home/ann/suite/");
  EXPECT_EQ(folder.origin, SourceOrigin::kProgramFolder);
  EXPECT_EQ(folder.refusal, "");
  // A folder on the command line wins, relative ones resolved.
  folder = ChooseSourceFolder({"logs"}, Facts("/home/ann/suite/"), "/home/ann", Folders());
  EXPECT_EQ(folder.directory, "/home/ann/logs/");
  EXPECT_EQ(folder.origin, SourceOrigin::kCommandLine);
  EXPECT_EQ(folder.refusal, "");
  // Installed, without arguments: the current folder.
  folder = ChooseSourceFolder({}, Facts("/usr/bin/"), "/home/ann/logs", Folders());
  EXPECT_EQ(folder.directory, "/home/ann/logs/");
  EXPECT_EQ(folder.origin, SourceOrigin::kCurrentFolder);
  EXPECT_EQ(folder.refusal, "");
  EXPECT_EQ(tuckaway::SourceNoteText(folder), suite::Cp("(当前目录)"));
  // Read-only portable folder: not its own folder, the current one.
  folder = ChooseSourceFolder({}, Facts("/home/ann/suite/", false), "/home/ann/logs", Folders());
  EXPECT_EQ(folder.origin, SourceOrigin::kCurrentFolder);
}

TEST(SourceFolderTest, FoldersItNeverEmpties) {
  SUITE_SKIP_ON_WINDOWS("POSIX paths and folders");
  struct Case {
    std::vector<std::string> arguments;
    std::string current;
    const char* refusal;
  };
  const Case cases[] = {
      {{"/usr/bin/"}, "/home/ann", "不整理此目录: 这是系统目录"},
      {{"/link-to-usr-bin"}, "/home/ann", "不整理此目录: 这是系统目录"},  // a link doesn't hide it
      {{}, "/home/ann", "不整理此目录: 这是用户主目录"},  // started from a menu: the home folder
      {{"/home/ann/"}, "/tmp", "不整理此目录: 这是用户主目录"},
      {{"/home/bob/shared"}, "/home/ann", "不整理此目录: 不能写入此目录"},
      {{"/home/ann/notes.txt"}, "/home/ann", "不整理此目录: 目录不存在"},
      {{"/nowhere"}, "/home/ann", "不整理此目录: 目录不存在"},
  };
  for (const Case& c : cases) {
    const auto folder = ChooseSourceFolder(c.arguments, Facts("/usr/bin/"), c.current, Folders());
    EXPECT_EQ(folder.refusal, suite::Cp(c.refusal)) << (c.arguments.empty() ? c.current : c.arguments[0]);
    EXPECT_EQ(tuckaway::SourceNoteText(folder), folder.refusal);
  }
}

TEST(SourceFolderTest, ARefusedFolderIsNeitherListedNorMoved) {
  suite::testing::TempDir dir;
  suite::testing::WriteFile(dir / "app.log", "x\n");
  tuckaway::Evacuator evacuator(dir.Path());
  evacuator.RefuseToEmpty();
  tuckaway::TuckawayWindowModel window;
  evacuator.ListFiles(window);
  EXPECT_EQ(window.ListCount(), 0);
  window.ListAddSorted("app.log");  // even a name that got onto the list somehow
  evacuator.MoveFiles(window);
  EXPECT_TRUE(suite::PathExists(dir / "app.log"));
  EXPECT_FALSE(suite::PathExists(dir / "__Tuckaway__"));
}

}  // namespace
