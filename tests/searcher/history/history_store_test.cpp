#include "searcher/history/history_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

#include "common/codepage.h"
#include "common/held_directory.h"
#include "searcher/history/history_delete.h"
#include "searcher/history/result_descriptor.h"
#include "test_support/lock_holder.h"
#include "test_support/temp_dir.h"

namespace lorvane {
namespace {

namespace fs = std::filesystem;
using suite::Cp;
using suite::testing::TempDir;
using suite::testing::WriteFile;
using Texts = std::vector<std::string>;

class HistoryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    suite::SetActiveCodePage(suite::CodePage::Gbk);
    work = dir / "__Lorvane__";
    fs::create_directories(work + "/__Clipboard__");
    target = WriteFile(dir / "app.log", "one ERROR\r\n");
  }

  std::string History(const std::string& name) {
    const std::string path = work + "/" + name;
    fs::create_directories(path);
    return path;
  }

  TempDir dir;
  std::string work, target;
};

TEST_F(HistoryStoreTest, TimeTextOfAStampAndBack) {
  const std::string path = work + "/20041203_091502";
  EXPECT_EQ(ParseHistoryTime(path), "2004-12-03 09:15:02");
  EXPECT_EQ(HistoryDirectoryOf(work, "2004-12-03 09:15:02"), path);
  EXPECT_TRUE(IsEntryOfWorkDirectory(work, path));
  // Time texts sort as the times do.
  EXPECT_LT(*ParseHistoryTime(work + "/20041201_235959"), *ParseHistoryTime(path));
}

TEST_F(HistoryStoreTest, TimeTextRefusesTheClipboardAndPathsWithoutSeparator) {
  EXPECT_FALSE(ParseHistoryTime(work + "/__Clipboard__"));
  EXPECT_FALSE(ParseHistoryTime(work + "/__CLIPBOARD__"));
  EXPECT_FALSE(ParseHistoryTime("20041203_091502"));
  EXPECT_FALSE(IsEntryOfWorkDirectory(work, work + "/__clipboard__"));
}

TEST_F(HistoryStoreTest, OddNamesGiveTextsOfTheirOwnBytes) {
  // Any 15-byte name comes back to itself when its ninth byte is "_".
  EXPECT_EQ(ParseHistoryTime(work + "/abcdefgh_ijklmn"), "abcd-ef-gh ij:kl:mn");
  EXPECT_EQ(HistoryDirectoryOf(work, "abcd-ef-gh ij:kl:mn"), work + "/abcdefgh_ijklmn");
  // Otherwise the way back leads to another name...
  EXPECT_EQ(HistoryDirectoryOf(work, *ParseHistoryTime(work + "/abcdefghXijklmn")), work + "/abcdefgh_ijklmn");
  // ...and a short name takes the last bytes of the work directory's path
  // along, separator included, so the way back leads below another entry.
  EXPECT_EQ(ParseHistoryTime(work + "/ab"), "ab-- e_:_/:ab");  // .../__Lorvane__/ab
  const std::string back = HistoryDirectoryOf(work, *ParseHistoryTime(work + "/ab"));
  EXPECT_EQ(back, work + "/ab--e__/_ab");
  EXPECT_FALSE(IsEntryOfWorkDirectory(work, back));
  EXPECT_EQ(HistoryDirectoryOf(work, ""), work + "/_");
  EXPECT_FALSE(IsEntryOfWorkDirectory(work, work + "/.."));
  EXPECT_FALSE(IsEntryOfWorkDirectory(work, dir.Path() + "/20041203_091502"));
}

TEST_F(HistoryStoreTest, RowFromTheFirstSevenLines) {
  const std::string history = History("20041203_091502");
  WriteFile(history + "/result.lvn", history + "\r\n" + target + "\r\nERROR\r\nY\r\n11B\r\n1\r\n1\r\n_mp[0]=0;\r\n");
  EXPECT_EQ(ReadHistoryRow(history), (HistoryRowFields{"1", "1", "ERROR", "Yes", "11B", "app.log", ""}));
  EXPECT_EQ(HistoryRowRecord("t", ReadHistoryRow(history)), "t\b1\b1\bERROR\bYes\b11B\bapp.log\b");

  // LF alone, stray CRs, a match flag other than "Y", a target that is gone
  // and a "|" in the keyword and the name.
  const std::string gone = dir / "a|b.log";
  WriteFile(history + "/result.lvn", history + "\n" + gone + "\r\r\nx|y\ny\n1K 0B\n20\r\n\r5");
  EXPECT_EQ(ReadHistoryRow(history), (HistoryRowFields{"5", "20", "x|y", "", "1K 0B", "a|b.log", Cp("已不存在")}));
}

// A history keeps its code page beside its descriptor: a UTF-8 log's keyword
// shows as the same characters in a row and a summary whatever the code page
// of messages; a history without it (from before) was searched in GBK.
TEST_F(HistoryStoreTest, TheKeywordShowsInTheCodePageOfMessages) {
  const std::string history = History("20041203_091502");
  const std::string users8 = "\xE7\x94\xA8\xE6\x88\xB7", usersGbk = "\xD3\xC3\xBB\xA7";  // "用户"
  const std::string path = WriteFile(history + "/result.lvn", history + "\r\n" + target + "\r\n" + users8 +
                                                                  "\r\nN\r\n11B\r\n1\r\n1\r\n_mp[0]=0;\r\n");
  ASSERT_TRUE(WriteHistoryCodePage(history, suite::CodePage::Utf8));
  EXPECT_EQ(ReadHistoryCodePage(history), suite::CodePage::Utf8);
  for (const suite::CodePage messages : {suite::CodePage::Gbk, suite::CodePage::Utf8}) {
    suite::SetActiveCodePage(messages);
    EXPECT_EQ(suite::ToUtf8(ReadHistoryRow(history)[2]), "用户");
    std::string summary;
    ASSERT_TRUE(ReadHistorySummary(path, &summary));
    EXPECT_NE(suite::ToUtf8(summary).find("[搜索的关键字] 用户\r\n"), std::string::npos);
  }
  fs::remove(history + "/result.codepage");
  WriteFile(path, history + "\r\n" + target + "\r\n" + usersGbk + "\r\nN\r\n11B\r\n1\r\n1\r\n_mp[0]=0;\r\n");
  EXPECT_EQ(ReadHistoryCodePage(history), suite::CodePage::Gbk);
  EXPECT_EQ(suite::ToUtf8(ReadHistoryRow(history)[2]), "用户");
}

TEST_F(HistoryStoreTest, RowsOfMissingAndDamagedDescriptors) {
  const std::string history = History("20041203_091502");
  EXPECT_EQ(ReadHistoryRow(history), HistoryRowFields{});
  const HistoryRowFields damaged{"", "", "", "", "", "", Cp("描述文件已损坏")};
  fs::create_directory(history + "/result.lvn");  // can't be opened as a file
  EXPECT_EQ(ReadHistoryRow(history), damaged);
  fs::remove(history + "/result.lvn");
  // A line longer than any descriptor line (a path, a keyword): damaged, and
  // read no further, however long it goes on without a line end.
  WriteFile(history + "/result.lvn", history + "\r\n" + std::string(3 * 1024 * 1024, 'x'));
  EXPECT_EQ(ReadHistoryRow(history), damaged);
  std::string summary;
  EXPECT_FALSE(ReadHistorySummary(history + "/result.lvn", &summary));
  // A long keyword is no damage.
  WriteFile(history + "/result.lvn", history + "\r\n" + target + "\r\n" + std::string(100000, 'k') + "\r\n");
  EXPECT_EQ(ReadHistoryRow(history)[2], std::string(100000, 'k'));

  // Three lines: the rest read as empty; the empty target path doesn't exist.
  WriteFile(history + "/result.lvn", history + "\r\n" + target + "\r\nERROR\r\n");
  EXPECT_EQ(ReadHistoryRow(history), (HistoryRowFields{"", "", "ERROR", "", "", "app.log", ""}));
  WriteFile(history + "/result.lvn", "only\r\n");
  EXPECT_EQ(ReadHistoryRow(history), (HistoryRowFields{"", "", "", "", "", "", Cp("已不存在")}));
  // Binary bytes stay as they are; 0x1A ends the text; a name without separator is empty.
  WriteFile(history + "/result.lvn", std::string("h\nnoseparator\nk\0w\nN\n\x1A\n9\n9\n", 22));
  EXPECT_EQ(ReadHistoryRow(history), (HistoryRowFields{"", "", std::string("k\0w", 3), "", "", "", Cp("已不存在")}));
}

TEST_F(HistoryStoreTest, ListsSubdirectoriesButNotFilesLinksOrTheClipboard) {
  History("20041203_091502");
  History("notes");
  WriteFile(work + "/20041204_000000", "a file");
  if (!SUITE_ON_WINDOWS) fs::create_directory_symlink(dir.Path(), work + "/20041205_000000");
  Texts listed = ListHistoryDirectories(work);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (Texts{work + "/20041203_091502", work + "/notes"}));
  EXPECT_TRUE(ListHistoryDirectories(dir / "none").empty());
}

TEST_F(HistoryStoreTest, SummaryLabelsTheHeaderAndKeepsTheIndex) {
  const std::string history = History("20041203_091502");
  const std::string path = WriteFile(history + "/result.lvn", history + "\r\n" + target +
                                                                  "\r\nERROR\nN\r\n11B\r\n1\r\n1\r\n_mp[0]=0;\r\nodd");
  std::string summary;
  ASSERT_TRUE(ReadHistorySummary(path, &summary));
  EXPECT_EQ(summary, Cp("[目标文件目录] ") + target + "\r\n" + Cp("[搜索的关键字] ERROR\r\n") +
                         Cp("[大小写匹配吗] N\r\n") + Cp("[目标文件尺寸] 11B\r\n") + Cp("[目标文件行数] 1\r\n") +
                         Cp("[搜索结果行数] 1\r\n") + "_mp[0]=0;\r\nodd\r\n");
  // A crafted tail of index lines far beyond what 1 line can have is left out.
  std::string crafted = history + "\r\n" + target + "\r\nERROR\r\nN\r\n11B\r\n1\r\n1\r\n";
  for (int i = 0; i < 100000; ++i) crafted += "_mp[0]=0;\r\n";
  WriteFile(path, crafted);
  ASSERT_TRUE(ReadHistorySummary(path, &summary));
  size_t indexLines = 0;
  for (size_t at = summary.find("_mp["); at != std::string::npos; at = summary.find("_mp[", at + 1)) ++indexLines;
  EXPECT_EQ(indexLines, 18u);
  WriteFile(path, history + "\r\n");
  ASSERT_TRUE(ReadHistorySummary(path, &summary));
  EXPECT_EQ(summary, "");
  EXPECT_FALSE(ReadHistorySummary(history + "/none.lvn", &summary));
}

class RemoveHistoryTest : public HistoryStoreTest {
 protected:
  HistoryRemoval Remove(const std::string& path) {
    messages.clear();
    return RemoveHistoryDirectory(path, [this](const std::string& m) { messages.push_back(suite::ToUtf8(m)); });
  }
  Texts messages;
};

TEST_F(RemoveHistoryTest, EmptyDirectoryAtOnceFilesFirstOtherwise) {
  const std::string empty = History("20041203_091502");
  EXPECT_EQ(Remove(empty), HistoryRemoval::kRemovedEmpty);
  EXPECT_EQ(messages, Texts{"删除目录成功: " + empty});
  EXPECT_FALSE(fs::exists(empty));

  const std::string full = History("20041204_091502");
  WriteFile(full + "/000000.txt", "r");
  WriteFile(full + "/result.lvn", "d");
  EXPECT_EQ(Remove(full), HistoryRemoval::kRemoved);
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(fs::exists(full));

  EXPECT_EQ(Remove(full), HistoryRemoval::kFailed);
  EXPECT_EQ(messages, Texts{"删除目录失败，请手工处理该目录。(ERROR-CODE: 2) " + full});
}

// A running search holds its directory: its row says so, and a deletion
// leaves it whole and says why, until the search has ended.
TEST_F(RemoveHistoryTest, ARunningSearchsDirectoryIsShownRunningAndKept) {
  const std::string running = History("20041203_091502");
  WriteFile(running + "/000000.txt", "r");
  {
    suite::HeldDirectory search;
    ASSERT_TRUE(search.Hold(running));
    EXPECT_EQ(ReadHistoryRow(running), (HistoryRowFields{"", "", "", "", "", "", Cp("正在搜索")}));
    EXPECT_EQ(Remove(running), HistoryRemoval::kFailed);
    EXPECT_EQ(messages, Texts{"不能删除“" + running + "”: 该搜索正在进行，请等它结束后再删除。"});
    EXPECT_TRUE(fs::exists(running + "/000000.txt"));
  }
  EXPECT_EQ(Remove(running), HistoryRemoval::kRemoved);
  EXPECT_FALSE(fs::exists(running));
}

TEST_F(RemoveHistoryTest, SubdirectoriesStayAndAreNeverEntered) {
  const std::string history = History("20041203_091502");
  fs::create_directories(history + "/a/deep");
  WriteFile(history + "/a/deep/keep.txt", "k");
  fs::create_directory(history + "/b");
  WriteFile(history + "/000000.txt", "r");
  EXPECT_EQ(Remove(history), HistoryRemoval::kFailed);
  const std::string subdirectory = "删除目录失败! 因为该目录中含有子目录，请手工处理!";
  EXPECT_EQ(messages, (Texts{subdirectory, subdirectory}));
  EXPECT_FALSE(fs::exists(history + "/000000.txt"));
  EXPECT_TRUE(fs::exists(history + "/a/deep/keep.txt"));
  EXPECT_TRUE(fs::exists(history + "/b"));
}

TEST_F(RemoveHistoryTest, ALockedFileStaysWithItsErrorCode) {
  const std::string history = History("20041203_091502");
  const std::string held = WriteFile(history + "/000000.txt", "r");
  WriteFile(history + "/000001.txt", "r");
  suite::testing::LockFromAnotherProcess lock(held);
  ASSERT_TRUE(lock.Held());
  EXPECT_EQ(Remove(history), HistoryRemoval::kFailed);
  EXPECT_EQ(messages, Texts{"删除文件失败。(ERROR-CODE: " + std::to_string(EWOULDBLOCK) + ")"});
  EXPECT_TRUE(fs::exists(held));
  EXPECT_FALSE(fs::exists(history + "/000001.txt"));
  lock.Release();
  EXPECT_EQ(Remove(history), HistoryRemoval::kRemoved);
}

TEST_F(RemoveHistoryTest, LinksAreNeitherFollowedNorDeleted) {
  SUITE_SKIP_WITHOUT_SYMLINKS();
  const std::string outside = dir / "outside";
  fs::create_directory(outside);
  WriteFile(outside + "/precious.txt", "p");

  // A link inside a history directory.
  const std::string history = History("20041203_091502");
  fs::create_directory_symlink(outside, history + "/link");
  fs::create_symlink(outside + "/precious.txt", history + "/file-link");
  EXPECT_EQ(Remove(history), HistoryRemoval::kFailed);
  EXPECT_EQ(messages, Texts(2, "删除文件失败。(ERROR-CODE: " + std::to_string(EPERM) + ")"));
  EXPECT_TRUE(fs::is_symlink(history + "/link"));
  EXPECT_TRUE(fs::exists(outside + "/precious.txt"));

  // A history directory that is itself a link.
  const std::string linked = work + "/20041204_091502";
  fs::create_directory_symlink(outside, linked);
  EXPECT_EQ(Remove(linked), HistoryRemoval::kFailed);
  EXPECT_EQ(messages, Texts{"删除目录失败，请手工处理该目录。(ERROR-CODE: " + std::to_string(ENOTDIR) + ") " + linked});
  EXPECT_TRUE(fs::exists(outside + "/precious.txt"));
}

}  // namespace
}  // namespace lorvane
