// The platform layer's interfaces, held to what their callers rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>
#ifndef _WIN32
#include <sys/socket.h>
#endif

#include "common/directory_listing.h"
#include "common/display_presence.h"
#include "common/exclusive_file.h"
#include "common/file_moves.h"
#include "common/held_directory.h"
#include "common/instance_claim.h"
#include "common/open_directory.h"
#include "common/path_util.h"
#include "common/terminal.h"
#include "test_support/lock_holder.h"
#include "test_support/temp_dir.h"

namespace suite {
namespace {

namespace fs = std::filesystem;
using testing::LockFromAnotherProcess;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
using Listed = std::vector<std::pair<std::string, EntryKind>>;

Listed Sorted(const std::vector<DirectoryEntry>& entries) {
  Listed listed;
  for (const DirectoryEntry& entry : entries) listed.emplace_back(entry.name, entry.kind);
  std::sort(listed.begin(), listed.end());
  return listed;
}

TEST(DirectoryListingTest, EveryEntryWithItsKindALinkAsTheLinkOddNamesAsTheirBytes) {
  SUITE_SKIP_WITHOUT_SYMLINKS();
  TempDir dir;
  WriteFile(dir / "file", "x");
  WriteFile(dir / ".hidden", "x");
  fs::create_directory(dir / "sub");
  fs::create_directory_symlink(dir / "sub", dir / "link-to-sub");
  fs::create_symlink(dir / "file", dir / "link-to-file");
  fs::create_symlink(dir / "nowhere", dir / "dangling");
#ifndef _WIN32
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
#endif
  // Names are bytes: spaces, line ends, bytes that aren't UTF-8, the longest a name can be.
  const std::vector<std::string> odd = {"with space", "line\nend", "\xb2\xe2\xca\xd4.txt", "caf\xc3\xa9",
                                        std::string(255, 'n'), "-dash", "..."};
  for (const std::string& name : odd) WriteFile(dir / name, "x");

  Listed expected = {{".hidden", EntryKind::kFile},         {"dangling", EntryKind::kLink},
                     {"file", EntryKind::kFile},            {"link-to-file", EntryKind::kLink},
                     {"link-to-sub", EntryKind::kLink},     {"pipe", EntryKind::kOther},
                     {"sub", EntryKind::kDirectory}};
  for (const std::string& name : odd) expected.emplace_back(name, EntryKind::kFile);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Sorted(ListDirectory(dir.Path())), expected);
  // The directory reached through a link to it lists the same.
  fs::create_directory_symlink(dir / "sub", dir / "sub2");
  WriteFile(dir / "sub/inner", "x");
  EXPECT_EQ(Sorted(ListDirectory(dir / "sub2")), (Listed{{"inner", EntryKind::kFile}}));

  EntryKind kind = EntryKind::kOther;
  ASSERT_TRUE(EntryKindOf(dir / "link-to-sub", &kind));
  EXPECT_EQ(kind, EntryKind::kLink);
  ASSERT_TRUE(EntryKindOf(dir / "sub", &kind));
  EXPECT_EQ(kind, EntryKind::kDirectory);
  ASSERT_TRUE(EntryKindOf(dir / "dangling", &kind));
  EXPECT_EQ(kind, EntryKind::kLink);
  EXPECT_FALSE(EntryKindOf(dir / "missing", &kind));
}

TEST(DirectoryListingTest, EmptyMissingAndUnreadableDirectoriesGiveNothing) {
  TempDir dir;
  EXPECT_TRUE(ListDirectory(dir.Path()).empty());
  EXPECT_TRUE(ListDirectory(dir / "missing").empty());
  EXPECT_TRUE(ListDirectory("").empty());
  WriteFile(dir / "file", "x");
  EXPECT_TRUE(ListDirectory(dir / "file").empty());
  EXPECT_TRUE(ListDirectory(dir / "file/").empty());
  if (::geteuid() != 0 && !SUITE_ON_WINDOWS) {  // root reads every directory; Windows has no such bits
    fs::create_directory(dir / "closed");
    WriteFile(dir / "closed/inside", "x");
    fs::permissions(dir / "closed", fs::perms::none);
    EXPECT_TRUE(ListDirectory(dir / "closed").empty());
    fs::permissions(dir / "closed", fs::perms::owner_all);
  }
}

// More entries than one read of the directory gives back.
TEST(DirectoryListingTest, ALargeDirectoryListsEveryEntryOnce) {
  TempDir dir;
  std::vector<std::string> names;
  for (int i = 0; i < 1500; ++i) names.push_back(std::to_string(i) + std::string(100, 'x'));
  for (const std::string& name : names) WriteFile(dir / name, "");
  std::vector<std::string> listed;
  for (const DirectoryEntry& entry : ListDirectory(dir.Path())) listed.push_back(entry.name);
  std::sort(names.begin(), names.end());
  std::sort(listed.begin(), listed.end());
  // What is missing and what is extra (twice, or never made), not the 1500 names.
  std::vector<std::string> missing, extra;
  std::set_difference(names.begin(), names.end(), listed.begin(), listed.end(), std::back_inserter(missing));
  std::set_difference(listed.begin(), listed.end(), names.begin(), names.end(), std::back_inserter(extra));
  EXPECT_EQ(listed.size(), names.size());
  EXPECT_EQ(missing, std::vector<std::string>{});
  EXPECT_EQ(extra, std::vector<std::string>{});
}

TEST(OpenDirectoryTest, ALinkInItsPlaceIsRefusedAndAMissingOneSaysSo) {
  SUITE_SKIP_WITHOUT_SYMLINKS();
  TempDir dir;
  fs::create_directory(dir / "real");
  fs::create_directory_symlink(dir / "real", dir / "link");
  OpenDirectory opened;
  EXPECT_NE(opened.Open(dir / "link"), 0);
  EXPECT_FALSE(opened.IsOpen());
  EXPECT_EQ(opened.Open(dir / "missing"), ENOENT);
  WriteFile(dir / "file", "x");
  EXPECT_EQ(opened.Open(dir / "file"), ENOTDIR);
  EXPECT_EQ(opened.Open(dir / "real"), 0);
  EXPECT_TRUE(opened.IsOpen());
}

// The entries are those of the directory opened, whatever takes its path afterwards.
TEST(OpenDirectoryTest, WorksInTheDirectoryOpenedEvenWhenALinkTakesItsPath) {
  SUITE_SKIP_WITHOUT_SYMLINKS();
  TempDir dir;
  fs::create_directory(dir / "history");
  WriteFile(dir / "history/000000.txt", "r");
  fs::create_directory(dir / "history/sub");
  fs::create_directory(dir / "outside");
  WriteFile(dir / "outside/000000.txt", "precious");
  WriteFile(dir / "outside/other.txt", "precious");

  OpenDirectory opened;
  ASSERT_EQ(opened.Open(dir / "history"), 0);
  fs::rename(dir / "history", dir / "moved");
  fs::create_directory_symlink(dir / "outside", dir / "history");

  std::vector<std::string> names;
  ASSERT_EQ(opened.Names(&names), 0);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"000000.txt", "sub"}));
  EntryKind kind = EntryKind::kOther;
  EXPECT_EQ(opened.KindOf("sub", &kind), 0);
  EXPECT_EQ(kind, EntryKind::kDirectory);
  EXPECT_EQ(opened.KindOf("other.txt", &kind), ENOENT);
  EXPECT_EQ(opened.RemoveFileUnlessLocked("000000.txt"), 0);
  EXPECT_FALSE(fs::exists(dir / "moved/000000.txt"));
  EXPECT_EQ(ReadFile(dir / "outside/000000.txt"), "precious");
  EXPECT_EQ(opened.RemoveFileUnlessLocked("000000.txt"), ENOENT);
}

TEST(OpenDirectoryTest, AFileLockedElsewhereStaysAndTheOthersGo) {
  TempDir dir;
  const std::string held = WriteFile(dir / "held", "h");
  WriteFile(dir / "free", "f");
#ifndef _WIN32  // no symbolic links to test with there
  fs::create_symlink(held, dir / "link");
#endif
  OpenDirectory opened;
  ASSERT_EQ(opened.Open(dir.Path()), 0);
#ifndef _WIN32
  EntryKind kind = EntryKind::kOther;
  ASSERT_EQ(opened.KindOf("link", &kind), 0);
  EXPECT_EQ(kind, EntryKind::kLink);
#endif
  {
    LockFromAnotherProcess lock(held);
    ASSERT_TRUE(lock.Held());
    EXPECT_EQ(opened.RemoveFileUnlessLocked("held"), EWOULDBLOCK);
    EXPECT_EQ(ReadFile(held), "h");
    EXPECT_EQ(opened.RemoveFileUnlessLocked("free"), 0);
#ifndef _WIN32
    // A link goes as the link; the file it points to stays held.
    EXPECT_EQ(opened.RemoveFileUnlessLocked("link"), 0);
#endif
  }
  EXPECT_EQ(opened.RemoveFileUnlessLocked("held"), 0);
  EXPECT_TRUE(ListDirectory(dir.Path()).empty());
}

TEST(FileMovesTest, AMoveOfALockedFileOrOntoATakenNameLeavesBothAsTheyWere) {
  TempDir dir;
  const std::string from = WriteFile(dir / "log", "mine");
  {
    LockFromAnotherProcess lock(from);
    ASSERT_TRUE(lock.Held());
    EXPECT_EQ(MoveFileUnlessLocked(from, dir / "away"), LockedMove::kLocked);
    EXPECT_EQ(ReadFile(from), "mine");
    EXPECT_FALSE(fs::exists(dir / "away"));
  }
  WriteFile(dir / "taken", "theirs");
  EXPECT_EQ(MoveFileUnlessLocked(from, dir / "taken"), LockedMove::kFailed);
  EXPECT_EQ(ReadFile(from), "mine");
  EXPECT_EQ(ReadFile(dir / "taken"), "theirs");
  EXPECT_EQ(MoveFileUnlessLocked(dir / "missing", dir / "away"), LockedMove::kFailed);

  EXPECT_EQ(MoveFileUnlessLocked(from, dir / "away"), LockedMove::kMoved);
  EXPECT_FALSE(fs::exists(from));
  EXPECT_EQ(ReadFile(dir / "away"), "mine");
}

TEST(FileMovesTest, RenameOverReplacesAndRemoveFileTellsWhyItCouldNot) {
  TempDir dir;
  WriteFile(dir / "new", "new");
  WriteFile(dir / "old", "old");
  ASSERT_TRUE(RenameOver(dir / "new", dir / "old"));
  EXPECT_EQ(ReadFile(dir / "old"), "new");
  EXPECT_FALSE(fs::exists(dir / "new"));
  EXPECT_FALSE(RenameOver(dir / "new", dir / "old"));
  EXPECT_EQ(ReadFile(dir / "old"), "new");

#ifndef _WIN32  // no symbolic links to test with there
  fs::create_symlink(dir / "old", dir / "link");
  EXPECT_EQ(RemoveFile(dir / "link"), 0);
  EXPECT_EQ(ReadFile(dir / "old"), "new");  // a link goes, never what it points to
#endif
  EXPECT_EQ(RemoveFile(dir / "old"), 0);
  EXPECT_EQ(RemoveFile(dir / "old"), ENOENT);
  fs::create_directory(dir / "sub");
  EXPECT_NE(RemoveFile(dir / "sub"), 0);
  EXPECT_TRUE(fs::is_directory(dir / "sub"));
}

// A running search holds its history's directory: its own work there (listing
// staged files, settling them, deleting the history) must still go on.
TEST(HeldDirectoryTest, AHeldDirectoryIsListedChangedAndRemovedOnlyThroughItsHold) {
  TempDir dir;
  const std::string history = dir / "history";
  fs::create_directory(history);
  WriteFile(history + "/result.lvn.next", "new");
  WriteFile(history + "/result.lvn", "old");
  HeldDirectory held;
  ASSERT_TRUE(held.Hold(history));
  EXPECT_TRUE(DirectoryIsHeld(history));
  HeldDirectory second;
  EXPECT_FALSE(second.Hold(history));
  EXPECT_TRUE(second.HeldElsewhere());

  std::vector<std::string> listed;
  for (const DirectoryEntry& entry : ListDirectory(history)) listed.push_back(entry.name);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"result.lvn", "result.lvn.next"}));
  {
    OpenDirectory open;
    ASSERT_EQ(open.Open(history), 0);
    std::vector<std::string> names;
    ASSERT_EQ(open.Names(&names), 0);
    EXPECT_EQ(names.size(), 2u);
    EXPECT_TRUE(RenameOver(history + "/result.lvn.next", history + "/result.lvn"));
    EXPECT_EQ(ReadFile(history + "/result.lvn"), "new");

    const int full = held.RemoveIfEmpty();
    EXPECT_TRUE(full == ENOTEMPTY || full == EEXIST) << full;
    EXPECT_TRUE(held.Holds());
    EXPECT_EQ(open.RemoveFileUnlessLocked("result.lvn"), 0);
  }
  EXPECT_EQ(held.RemoveIfEmpty(), 0);
  EXPECT_FALSE(held.Holds());
  EXPECT_FALSE(fs::exists(history));
}

// A log deleted while it is followed: on Windows its name stays taken while
// it is open, so the follower must see it and let it go.
TEST(ExclusiveFileTest, AFileDeletedWhileOpenIsToldSo) {
  TempDir dir;
  WriteFile(dir / "live.log", "a line\n");
  ExclusiveFile file;
  ASSERT_TRUE(file.OpenShared(dir / "live.log"));
  EXPECT_FALSE(file.Deleted());
  ASSERT_TRUE(fs::remove(dir / "live.log"));
  if (SUITE_ON_WINDOWS && !file.Deleted()) {
    GTEST_SKIP() << "Wine deletes a file open elsewhere only as it is closed, and shows it as it was until then";
  }
  EXPECT_TRUE(file.Deleted());
  file.Close();
  EXPECT_FALSE(file.Deleted());
  WriteFile(dir / "live.log", "a new log\n");
  EXPECT_EQ(ReadFile(dir / "live.log"), "a new log\n");
}

TEST(PathUtilTest, AnEmptyFileIsNewOrNotMadeAndOnlyAnEmptyDirectoryGoes) {
  TempDir dir;
  ASSERT_EQ(CreateEmptyFile(dir / "list.txt"), 0);
  EXPECT_EQ(fs::file_size(dir / "list.txt"), 0u);
#ifndef _WIN32  // no permission bits there
  struct stat status;
  ASSERT_EQ(::stat((dir / "list.txt").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
#endif
  WriteFile(dir / "kept.txt", "the user's lines");
  EXPECT_EQ(CreateEmptyFile(dir / "kept.txt"), EEXIST);
  EXPECT_EQ(ReadFile(dir / "kept.txt"), "the user's lines");
  EXPECT_EQ(CreateEmptyFile(dir / "missing/list.txt"), ENOENT);

  fs::create_directory(dir / "full");
  WriteFile(dir / "full/file", "x");
  const int notEmpty = RemoveEmptyDirectory(dir / "full");
  EXPECT_TRUE(notEmpty == ENOTEMPTY || notEmpty == EEXIST) << notEmpty;
  EXPECT_TRUE(fs::exists(dir / "full/file"));
  fs::create_directory(dir / "empty");
#ifndef _WIN32  // no symbolic links to test with there
  fs::create_directory_symlink(dir / "empty", dir / "link");
  EXPECT_EQ(RemoveEmptyDirectory(dir / "link"), ENOTDIR);
#endif
  EXPECT_TRUE(fs::is_directory(dir / "empty"));
  EXPECT_EQ(RemoveEmptyDirectory(dir / "empty"), 0);
  EXPECT_EQ(RemoveEmptyDirectory(dir / "empty"), ENOENT);
}

TEST(ConsoleCharsetTest, ALocaleWithoutAChineseCodesetShowsUtf8) {
  SUITE_SKIP_ON_WINDOWS("the console's code page, not the C locale, decides there");
  const std::string before = std::setlocale(LC_ALL, nullptr);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(ConsoleCharset(), "UTF-8");
  if (std::setlocale(LC_ALL, "C.UTF-8")) {
    EXPECT_EQ(ConsoleCharset(), "UTF-8");
  }
  if (std::setlocale(LC_ALL, "zh_CN.GB18030")) {  // where the locale is installed
    EXPECT_EQ(ConsoleCharset(), "GB18030");
  }
  if (std::setlocale(LC_ALL, "zh_CN.GBK")) {
    EXPECT_EQ(ConsoleCharset(), "GBK");
  }
  std::setlocale(LC_ALL, before.c_str());
}

// The environment a program starts in, each case on its own.
class DisplayPresenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SUITE_SKIP_ON_WINDOWS("no X or Wayland there (its case is below)");
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
      ::unsetenv(name);
    }
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value) ::setenv(name, value->c_str(), 1);
      else ::unsetenv(name);
    }
  }

 private:
  static constexpr const char* kNames[] = {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"};
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST_F(DisplayPresenceTest, NoDisplaySetOrNoLocalServerAnsweringIsTold) {
  EXPECT_EQ(MissingDisplayReason(), "DISPLAY is not set");
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  EXPECT_EQ(MissingDisplayReason(), "DISPLAY is not set");
  ::setenv("DISPLAY", ":9871.0", 1);  // no X server has that number here
  EXPECT_EQ(MissingDisplayReason(), "no X server answers at DISPLAY=:9871.0");
  ::setenv("DISPLAY", "unix:9871", 1);
  EXPECT_EQ(MissingDisplayReason(), "no X server answers at DISPLAY=unix:9871");
}

TEST_F(DisplayPresenceTest, AnotherPlatformWaylandOrARemoteDisplayIsTakenOnTrust) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  EXPECT_EQ(MissingDisplayReason(), "");
  ::unsetenv("QT_QPA_PLATFORM");
  ::setenv("WAYLAND_DISPLAY", "wayland-0", 1);
  EXPECT_EQ(MissingDisplayReason(), "");
  ::unsetenv("WAYLAND_DISPLAY");
  for (const char* remote : {"host:0", "host:0.0", ":x", ":1x"}) {
    ::setenv("DISPLAY", remote, 1);
    EXPECT_EQ(MissingDisplayReason(), "") << remote;
  }
}

#ifndef _WIN32
// A display that closes the connection as the program writes its greeting
// gives a failed write, which Qt reports, not a program ended by SIGPIPE.
TEST(ClosedConnectionTest, AWriteFailsWithoutEndingTheProgram) {
  KeepClosedConnectionsFromEndingTheProgram();
  int ends[2];
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
  ::close(ends[1]);
  EXPECT_EQ(::write(ends[0], "x", 1), -1);
  EXPECT_EQ(errno, EPIPE);
  ::close(ends[0]);
}
#endif

#ifdef _WIN32
TEST(DisplayPresenceWindowsTest, APlatformOtherThanTheDesktopsNeedsNoDesktop) {
  ::_wputenv(L"QT_QPA_PLATFORM=offscreen");
  EXPECT_EQ(MissingDisplayReason(), "");
  ::_wputenv(L"QT_QPA_PLATFORM=");
}
#endif

// Two claims of one name, as two starts at the same moment make them: one
// holds it; once it goes, the name is free again. Another name is another claim.
TEST(InstanceClaimTest, OneHolderAtATimeAndTheNameIsFreeOnceItGoes) {
  const std::string name = "{claim-test}-" + std::to_string(std::random_device{}());
  auto first = std::make_unique<InstanceClaim>(name);
  EXPECT_TRUE(first->Held());
  {
    InstanceClaim second(name);
    EXPECT_FALSE(second.Held());
    InstanceClaim other(name + "-other");
    EXPECT_TRUE(other.Held());
  }
  EXPECT_FALSE(InstanceClaim(name).Held());  // a claim that failed took nothing from the holder
  first.reset();
  EXPECT_TRUE(InstanceClaim(name).Held());
}

}  // namespace
}  // namespace suite
