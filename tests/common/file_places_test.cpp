// Where the programs keep their files: beside a portable program, in the
// user's places for an installed one.
#include "common/file_places.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "common/path_util.h"
#include "test_support/temp_dir.h"

namespace {

using suite::DecideFilePlace;
using suite::FilesRequest;
using suite::IsSystemFolder;
using suite::PlaceFacts;
using suite::UserPlace;
using suite::testing::TempDir;

constexpr FilesRequest kState{"__Lorvane__", UserPlace::kState, "lorvane"};
constexpr FilesRequest kConfig{"config", UserPlace::kConfig, "snipkeep"};
constexpr FilesRequest kDocuments{"__Cleavora__", UserPlace::kDocuments, "Partivo"};

PlaceFacts Installed(const std::string& programDirectory = "/usr/bin/") {
  PlaceFacts facts;
  facts.programDirectory = programDirectory;
  facts.programDirectoryWritable = true;  // root may write /usr/bin: it is still no place for a user's files
  facts.home = "/home/ann";
  return facts;
}

TEST(FilePlacesTest, SystemFoldersAndTheirTrees) {
  SUITE_SKIP_ON_WINDOWS("POSIX folders (FilePlacesTest.WindowsSystemFolders)");
  for (const char* folder : {"/", "/usr", "/usr/", "/usr/bin/", "/usr/local/bin", "/opt/suite/bin/", "/etc", "/var/tmp/",
                             "/home", "/home/", "/media/", "/mnt", "/tmp", "/snap/x/1/bin", "relative/bin/", ""}) {
    EXPECT_TRUE(IsSystemFolder(folder)) << folder;
  }
  // A folder below a shared root is someone's own; a name that only begins like a system tree is not one.
  for (const char* folder : {"/home/ann/suite/", "/media/ann/STICK/suite", "/mnt/data/", "/tmp/unpacked/suite/",
                             "/usrdata/", "/optical/x", "/root/suite/"}) {
    EXPECT_FALSE(IsSystemFolder(folder)) << folder;
  }
}

#ifdef _WIN32
TEST(FilePlacesTest, WindowsSystemFolders) {
  for (const char* folder : {"C:/", "c:\\", "C:/Windows", "C:\\WINDOWS\\System32\\", "C:/Program Files/suite/",
                             "D:/Program Files (x86)/x", "C:/ProgramData/x", "C:/Users", "C:/Users/Public/",
                             "\\\\server\\share", "//server/share/", "relative/bin/", "/usr/bin/", ""}) {
    EXPECT_TRUE(IsSystemFolder(folder)) << folder;
  }
  for (const char* folder : {"C:/Users/ann/suite/", "D:\\tools\\suite", "C:/Windowsless/", "E:/Program Filesx/",
                             "\\\\server\\share\\ann\\suite", "//server/share/ann/"}) {
    EXPECT_FALSE(IsSystemFolder(folder)) << folder;
  }
}
#endif

TEST(FilePlacesTest, APortableProgramKeepsItsFilesBesideItself) {
  SUITE_SKIP_ON_WINDOWS("POSIX paths");
  PlaceFacts facts = Installed("/home/ann/suite/");
  const suite::FilePlace place = DecideFilePlace(facts, kState);
  EXPECT_TRUE(place.besideProgram);
  EXPECT_EQ(place.Directory(), "/home/ann/suite/__Lorvane__");
  EXPECT_EQ(DecideFilePlace(facts, kConfig).Directory(), "/home/ann/suite/config");
  EXPECT_EQ(DecideFilePlace(facts, kDocuments).Directory(), "/home/ann/suite/__Cleavora__");
}

TEST(FilePlacesTest, AnInstalledOrReadOnlyProgramUsesTheUsersPlaces) {
  // A system folder, even a writable one; a folder it can't write; a folder it couldn't find.
  PlaceFacts readOnly = Installed("/home/ann/suite/");
  readOnly.programDirectoryWritable = false;
  PlaceFacts unknown = Installed("");
  for (const PlaceFacts& facts : {Installed(), readOnly, unknown}) {
    const suite::FilePlace state = DecideFilePlace(facts, kState);
    EXPECT_FALSE(state.besideProgram);
    EXPECT_EQ(state.programFolderUnknown, facts.programDirectory.empty());  // then the program says so
    EXPECT_EQ(state.base, "/home/ann/.local/state/");
    EXPECT_EQ(state.Directory(), "/home/ann/.local/state/lorvane");
    EXPECT_EQ(DecideFilePlace(facts, kConfig).Directory(), "/home/ann/.config/snipkeep");
    // No documents folder: the home folder.
    EXPECT_EQ(DecideFilePlace(facts, kDocuments).Directory(), "/home/ann/Partivo");
  }
}

TEST(FilePlacesTest, XdgVariablesAndTheDocumentsFolder) {
  SUITE_SKIP_ON_WINDOWS("POSIX paths");
  PlaceFacts facts = Installed();
  facts.stateHome = "/data/state";
  facts.configHome = "/data/config/";
  facts.documentsDirectory = "/home/ann/文档";
  EXPECT_EQ(DecideFilePlace(facts, kState).Directory(), "/data/state/lorvane");
  EXPECT_EQ(DecideFilePlace(facts, kConfig).Directory(), "/data/config/snipkeep");
  EXPECT_EQ(DecideFilePlace(facts, kDocuments).Directory(), "/home/ann/文档/Partivo");
  // Relative values are ignored, as the XDG rules ask.
  facts.stateHome = "state";
  facts.configHome = "./config";
  EXPECT_EQ(DecideFilePlace(facts, kState).Directory(), "/home/ann/.local/state/lorvane");
  EXPECT_EQ(DecideFilePlace(facts, kConfig).Directory(), "/home/ann/.config/snipkeep");
}

TEST(FilePlacesTest, DocumentsFolderFromTheUserFoldersFile) {
  SUITE_SKIP_ON_WINDOWS("no user folders file there");
  const std::string home = "/home/ann";
  EXPECT_EQ(suite::DocumentsFolderFromUserDirs("# written by xdg-user-dirs-update\n"
                                               "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                               "XDG_DOCUMENTS_DIR=\"$HOME/文档\"\n",
                                               home),
            "/home/ann/文档");
  EXPECT_EQ(suite::DocumentsFolderFromUserDirs("XDG_DOCUMENTS_DIR=\"/srv/docs/\"", home), "/srv/docs");
  EXPECT_EQ(suite::DocumentsFolderFromUserDirs("XDG_DOCUMENTS_DIR=\"$HOME\"\n", home), "/home/ann");
  // None, a commented one, a relative one, an unclosed quote, $HOMEX (another variable).
  for (const char* text : {"", "#XDG_DOCUMENTS_DIR=\"$HOME/D\"", "XDG_DOCUMENTS_DIR=\"Documents\"",
                           "XDG_DOCUMENTS_DIR=\"$HOME/D", "XDG_DOCUMENTS_DIR=\"$HOMEX/D\""}) {
    EXPECT_EQ(suite::DocumentsFolderFromUserDirs(text, home), "") << text;
  }
}

// The real thing: this test program lies in the build tree, a portable folder.
TEST(FilePlacesTest, TheTestProgramIsPortableAndAUserPlaceIsMadePrivate) {
  const PlaceFacts facts = suite::ReadPlaceFacts();
  EXPECT_EQ(facts.programDirectory, suite::GetModuleDirectory());
  EXPECT_TRUE(suite::KeepsFilesBesideProgram(facts));
  EXPECT_EQ(suite::ProgramFilePlace(kState).Directory(), suite::GetModuleDirectory() + "__Lorvane__");

  // An installed program's base folder is made when missing, for the user alone.
  TempDir dir;
  const std::string stateHome = dir / "deep/state";
  ::setenv("XDG_STATE_HOME", stateHome.c_str(), 1);
  PlaceFacts installed = suite::ReadPlaceFacts();
  ::unsetenv("XDG_STATE_HOME");
  installed.programDirectory = SUITE_ON_WINDOWS ? "C:/Program Files/suite/" : "/usr/bin/";
  const suite::FilePlace place = suite::MakeFilePlace(installed, kState);
  EXPECT_EQ(place.Directory(), stateHome + "/lorvane");
#ifdef _WIN32
  EXPECT_TRUE(suite::IsDirectory(stateHome));
#else
  struct stat status;
  for (const std::string& made : {dir / "deep", stateHome}) {
    ASSERT_EQ(::stat(made.c_str(), &status), 0) << made;
    EXPECT_EQ(status.st_mode & 0777, 0700u) << made;
  }
#endif
}

TEST(FilePlacesTest, DirectoriesAndFilesTheSuiteMakesAreTheUsersAlone) {
  SUITE_SKIP_ON_WINDOWS("no permission bits there");
#ifndef _WIN32
  TempDir dir;
  const std::string made = dir / "history";
  ASSERT_TRUE(suite::MakeDirectory(made));
  struct stat status;
  ASSERT_EQ(::stat(made.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  // A folder for files the user moves follows the umask instead.
  const mode_t old = ::umask(022);
  ASSERT_TRUE(suite::MakeDirectory(dir / "moved", nullptr, suite::DirectoryAccess::kAsUmask));
  ::umask(old);
  ASSERT_EQ(::stat((dir / "moved").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0755u);
#endif
}

}  // namespace
