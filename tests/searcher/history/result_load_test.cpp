#include "searcher/history/result_load.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/exclusive_file.h"
#include "common/path_util.h"
#include "recording_window.h"
#include "searcher/engine/keyword_search.h"
#include "searcher/engine/search_context.h"
#include "searcher/history/result_descriptor.h"
#include "test_support/temp_dir.h"

namespace lorvane {
namespace {

using suite::testing::TempDir;
using suite::testing::WriteFile;
using testing::RecordingWindow;

class ResultLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    suite::SetActiveCodePage(suite::CodePage::Gbk);
    target = WriteFile(dir / "t.log", std::string(1536, 'x'));
    history = dir.Path();
    WriteFile(dir / "000000.txt", Records(1, 2000));
    WriteFile(dir / "000001.txt", Records(2001, 2001));
  }

  // Result records first..last, as the search writes them.
  static std::string Records(int64_t first, int64_t last) {
    std::string text;
    for (int64_t number = first; number <= last; ++number) text += FormatResultRecord(number, number * 3, "a line");
    return text;
  }

  // A descriptor with the given header lines after the history directory and
  // target, then the index lines; every line ends in `end`.
  std::string Write(const std::vector<std::string>& rest, const std::string& end = "\r\n") {
    std::string text = history + end + target + end;
    for (const auto& line : rest) text += line + end;
    return WriteFile(dir / "result.lvn", text);
  }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : window.List(ListControl::ResultFiles).entries) names.push_back(entry.text);
    return names;
  }

  TempDir dir;
  std::string target, history;
  RecordingWindow window;
  SearchContext context;
};

TEST_F(ResultLoadTest, RestoresContextAndWindow) {
  const std::string path = Write({"ERROR", "Y", "1K 512B", "10001", "2001", "_mp[0]=0;", "_mp[1]=60000;"});
  EXPECT_TRUE(ResultLoad(window, context, path));
  EXPECT_EQ(window.messages, std::vector<std::string>{"toResultLoad: 成功载入一个 result.lvn 搜索历史文件。"});
  EXPECT_EQ(context.historyDirectory, history);
  EXPECT_EQ(context.targetPath, target);
  EXPECT_EQ(context.keyword, "ERROR");
  EXPECT_EQ(context.totalLineCount, 10001);
  EXPECT_EQ(QuickIndexText(context.quickIndex), "_mp[0]=0;\r\n_mp[1]=60000;\r\n");
  const LorvaneForm& form = window.Form();
  EXPECT_EQ(form.filePath, target);
  EXPECT_TRUE(form.matchCase);
  EXPECT_EQ(form.sizeText, "1K 512B");
  // The raw numbers, not grouped by ten thousands.
  EXPECT_EQ(suite::ToUtf8(form.totalLinesText), "共 10001 行");
  EXPECT_EQ(suite::ToUtf8(form.readLinesText), "读入 10001 行");
  EXPECT_EQ(suite::ToUtf8(form.resultsText), "共 2001 行");
  EXPECT_EQ(form.startLine, 1);
  EXPECT_EQ(Names(), (std::vector<std::string>{"000000.txt", "000001.txt"}));
  EXPECT_EQ(window.List(ListControl::ResultFiles).selection, 0);
  EXPECT_TRUE(window.Called("OnSelectResultFile()"));
  EXPECT_EQ(window.Slider().high, 10001);
  EXPECT_EQ(window.Focus(), EditControl::Keyword);
}

TEST_F(ResultLoadTest, AnyLineEndsAnyOrderLastKeyWins) {
  for (const std::string end : {"\n", "\r\r\n", "\r\n"}) {
    const std::string path = Write({"k", "y", "1K 512B", "20000", "2000", "_mp[1]=1;", "garbage", "_mp[0]=0;",
                                    "_mp[1]=7;"},
                                   end);
    window.messages.clear();
    EXPECT_TRUE(ResultLoad(window, context, path)) << window.messages.front();
    EXPECT_EQ(QuickIndexText(context.quickIndex), "_mp[0]=0;\r\n_mp[1]=7;\r\n");
    EXPECT_FALSE(window.Form().matchCase);  // "y" is not "Y"
    EXPECT_EQ(Names(), std::vector<std::string>{"000000.txt"});
  }
}

TEST_F(ResultLoadTest, NoResultsRestoreWithAnEmptyList) {
  EXPECT_TRUE(ResultLoad(window, context, Write({"k", "N", "1K 512B", "3", "0", "_mp[0]=0;"})));
  EXPECT_TRUE(Names().empty());
  EXPECT_FALSE(window.Called("OnSelectResultLine()"));
  EXPECT_EQ(window.messages.back(), "toResultLoad: 成功载入一个 result.lvn 搜索历史文件。");
}

TEST_F(ResultLoadTest, AChangedTargetWarnsAndRestores) {
  EXPECT_TRUE(ResultLoad(window, context, Write({"k", "N", "1K 0B", "3", "0", "_mp[0]=0;"})));
  EXPECT_EQ(window.messages.front(),
            "toResultLoad: 恢复历史情境警告。继续恢复。原因[CLVNResultCheck: 文件大小与存储的不一致! 现大小[1K 512B]]");
  EXPECT_EQ(context.keyword, "k");
}

TEST_F(ResultLoadTest, AFailedCheckChangesOnlyTheFilePath) {
  context.historyDirectory = "old";
  context.keyword = "old key";
  context.totalLineCount = 5;
  context.quickIndex.Set(suite::BlockKey{0}, suite::ByteOffset{0});
  window.SetFormText(FormText::Keyword, "typed");
  const std::string path = Write({"", "N", "1K 512B", "3", "0", "_mp[0]=0;", "_mp[9]=9;"});
  EXPECT_FALSE(ResultLoad(window, context, path));
  EXPECT_EQ(window.messages, std::vector<std::string>{"toResultLoad: 恢复历史情境失败。原因[CLVNResultCheck: 关键字为空!]"});
  EXPECT_EQ(window.Form().filePath, target);
  EXPECT_EQ(window.Form().keyword, "typed");
  EXPECT_EQ(context.historyDirectory, "old");
  EXPECT_EQ(context.keyword, "old key");
  EXPECT_EQ(context.totalLineCount, 5);
  EXPECT_EQ(context.quickIndex.Size(), 1);  // the index in force stays too

  window.messages.clear();
  EXPECT_FALSE(ResultLoad(window, context, dir / "nothing.lvn"));
  EXPECT_TRUE(window.messages.empty());
}

TEST_F(ResultLoadTest, ADamagedResultCountNeverMakesAnEndlessList) {
  const std::string path = Write({"k", "N", "1K 512B", "900000000000000000", "900000000000000000",
                                  "_mp[89999999999999]=0;"});
  for (const char* name : {"000000.txt", "000001.txt", "0000001.txt", "x00002.txt"}) WriteFile(dir / name, "");
  EXPECT_TRUE(ResultLoad(window, context, path));
  // No more names than the search's result files in the directory.
  EXPECT_EQ(Names(), (std::vector<std::string>{"000000.txt", "000001.txt"}));
}

// A descriptor with a line of megabytes without a line end is damaged: the
// restore says it can't be read, at once.
TEST_F(ResultLoadTest, ADescriptorWithAnEndlessLineIsDamaged) {
  const std::string path = WriteFile(dir / "result.lvn", history + "\r\n" + std::string(3 * 1024 * 1024, 'x'));
  EXPECT_FALSE(ResultLoad(window, context, path));
  EXPECT_EQ(window.messages.back().rfind("toResultLoad: 打开 result.lvn 文件失败!", 0), 0u);
  EXPECT_TRUE(context.historyDirectory.empty());
}

// A crafted history: a count of 10^12 results and one empty file of a high
// number. The list holds the names of files that are there, no more.
TEST_F(ResultLoadTest, ACraftedCountAndAHighFileNumberListOnlyFilesThatExist) {
  const std::string path = Write({"k", "N", "1K 512B", "2000000000000", "2000000000000", "_mp[199999999]=0;"});
  WriteFile(dir / "999999999.txt", "");
  EXPECT_TRUE(ResultLoad(window, context, path));
  EXPECT_EQ(Names(), (std::vector<std::string>{"000000.txt", "000001.txt", "999999999.txt"}));
  // The files the count claims are counted missing, not listed one by one.
  EXPECT_EQ(window.messages.front().rfind("toResultLoad: 恢复历史情境警告。继续恢复。原因[缺少 999999997 个搜索结果文件: "
                                          "000002.txt 000003.txt 000004.txt 000005.txt 000006.txt 等; 2 个搜索结果文件不完整: 000001.txt 999999999.txt]", 0),
            0u)
      << window.messages.front();
  // A file beyond the blocks the count names is not listed; a gap lists what is there.
  const std::string few = Write({"k", "N", "1K 512B", "5000", "4001", "_mp[0]=0;"});
  std::filesystem::remove(dir / "000001.txt");
  WriteFile(dir / "000002.txt", "");
  EXPECT_TRUE(ResultLoad(window, context, few));
  EXPECT_EQ(Names(), (std::vector<std::string>{"000000.txt", "000002.txt"}));
}

// The names come from the result count and the files, never from the target:
// one held by another program, or cut by a log rotation, loses none.
TEST_F(ResultLoadTest, ALockedOrShrunkTargetStillListsEveryResultFile) {
  const std::string path = Write({"k", "N", "1K 512B", "20000", "13000", "_mp[0]=0;", "_mp[1]=9;"});
  for (int i = 0; i < 7; ++i) WriteFile(dir / ("00000" + std::to_string(i) + ".txt"), "");
  const std::vector<std::string> seven{"000000.txt", "000001.txt", "000002.txt", "000003.txt",
                                       "000004.txt", "000005.txt", "000006.txt"};
  {
    suite::ExclusiveFile holder;
    ASSERT_TRUE(holder.Open(target));
    EXPECT_TRUE(ResultLoad(window, context, path));
    EXPECT_EQ(Names(), seven);
  }
  WriteFile(target, "");
  EXPECT_TRUE(ResultLoad(window, context, path));
  EXPECT_EQ(Names(), seven);
}

// A power loss can leave a whole descriptor over result files that lost their
// records (the search doesn't wait for them to reach the disk). The restore
// goes on with what is there and names what is missing or cut.
TEST_F(ResultLoadTest, ResultFilesLostOrCutAfterAPowerLossAreNamed) {
  const std::string path = Write({"k", "N", "1K 512B", "20000", "12500", "_mp[0]=0;", "_mp[1]=9;"});
  const std::string whole = Records(2001, 4000);
  WriteFile(dir / "000001.txt", whole);
  WriteFile(dir / "000002.txt", Records(4001, 6000).substr(0, 4096));                 // cut within a record
  WriteFile(dir / "000003.txt", Records(6001, 7999));                                // cut at a record's end
  WriteFile(dir / "000004.txt", Records(8001, 10000) + std::string(4096, '\0'));    // a tail of zeros
  WriteFile(dir / "000005.txt", "");                                                // nothing reached the disk
  // 000006.txt (the last, of 500 records) is missing.
  EXPECT_TRUE(ResultLoad(window, context, path));
  EXPECT_EQ(window.messages.front(),
            "toResultLoad: 恢复历史情境警告。继续恢复。原因[缺少 1 个搜索结果文件: 000006.txt; "
            "4 个搜索结果文件不完整: 000002.txt 000003.txt 000004.txt 000005.txt]");
  EXPECT_EQ(window.messages.back(), "toResultLoad: 成功载入一个 result.lvn 搜索历史文件。");
  EXPECT_EQ(Names(), (std::vector<std::string>{"000000.txt", "000001.txt", "000002.txt", "000003.txt", "000004.txt",
                                               "000005.txt"}));

  // Whole files, the last one short as it should be, give no warning; one
  // whose records are another file's is not whole.
  for (int64_t number = 2; number <= 5; ++number) {
    WriteFile(dir / ResultFileName(number), Records(number * 2000 + 1, number * 2000 + 2000));
  }
  WriteFile(dir / "000006.txt", Records(12001, 12500));
  window.messages.clear();
  EXPECT_TRUE(ResultLoad(window, context, path));
  EXPECT_EQ(window.messages, std::vector<std::string>{"toResultLoad: 成功载入一个 result.lvn 搜索历史文件。"});
  WriteFile(dir / "000003.txt", whole);
  window.messages.clear();
  EXPECT_TRUE(ResultLoad(window, context, path));
  EXPECT_EQ(window.messages.front(), "toResultLoad: 恢复历史情境警告。继续恢复。原因[1 个搜索结果文件不完整: 000003.txt]");
}

// A last record of a line longer than the look-back is taken whole when its
// file ends in CR LF; a first record of a huge line is checked all the same.
TEST_F(ResultLoadTest, ALastRecordOfALongLineIsTakenWholeWhenItEnds) {
  const std::string path = Write({"k", "N", "1K 512B", "3", "2", "_mp[0]=0;"});
  const std::string longLine(3 * 1024 * 1024, 'y');
  WriteFile(dir / "000000.txt", FormatResultRecord(1, 1, longLine) + FormatResultRecord(2, 2, longLine));
  std::filesystem::remove(dir / "000001.txt");
  EXPECT_TRUE(ResultLoad(window, context, path));
  EXPECT_EQ(window.messages, std::vector<std::string>{"toResultLoad: 成功载入一个 result.lvn 搜索历史文件。"});
  WriteFile(dir / "000000.txt", FormatResultRecord(1, 1, longLine) + FormatResultRecord(2, 2, longLine).substr(0, 99));
  window.messages.clear();
  EXPECT_TRUE(ResultLoad(window, context, path));
  EXPECT_EQ(window.messages.front(), "toResultLoad: 恢复历史情境警告。继续恢复。原因[1 个搜索结果文件不完整: 000000.txt]");
}

// Descriptors are read without the lock: one that another reader holds restores.
TEST_F(ResultLoadTest, ADescriptorHeldByAnotherReaderRestores) {
  const std::string path = Write({"k", "N", "1K 512B", "3", "0", "_mp[0]=0;"});
  suite::ExclusiveFile holder;
  ASSERT_TRUE(holder.Open(path));
  EXPECT_TRUE(ResultLoad(window, context, path));
  EXPECT_EQ(window.messages.back(), "toResultLoad: 成功载入一个 result.lvn 搜索历史文件。");
}

// The search's directory is where its descriptor lies: a field 1 naming
// another directory (crafted, or the old place of a moved folder) is said and
// not followed, and nothing is written outside the work directory.
TEST_F(ResultLoadTest, TheDirectoryIsWhereTheDescriptorLies) {
  context.workDirectory = dir / "__Lorvane__";
  std::filesystem::create_directories(context.workDirectory);
  for (const std::string& stored : {std::string("/"), dir / "moved-away"}) {
    history = stored;
    const std::string path = Write({"k", "N", "1K 512B", "3", "0", "_mp[0]=0;"});
    window.messages.clear();
    EXPECT_TRUE(ResultLoad(window, context, path));
    EXPECT_EQ(window.messages.front(), "toResultLoad: 搜索结果目录[" + stored + "]不是描述文件所在的目录，使用目录[" +
                                           dir.Path() + "]");
    EXPECT_EQ(context.historyDirectory, dir.Path());
  }
  // A view of the restored search lies outside the work directory: it goes into a fresh one inside.
  const std::string view = ViewFileDirectory(context);
  EXPECT_EQ(suite::DirectoryOfPath(view), context.workDirectory + "/");
  EXPECT_TRUE(std::filesystem::is_directory(view));
  EXPECT_EQ(ViewFileDirectory(context), view);  // made once

  // A descriptor inside the work directory keeps its views beside it.
  const std::string inside = context.workDirectory + "/20041203_091502";
  std::filesystem::create_directories(inside);
  history = inside;
  const std::string path = WriteFile(inside + "/result.lvn", inside + "\r\n" + target + "\r\nk\r\nN\r\n1K 512B\r\n3\r\n0\r\n_mp[0]=0;\r\n");
  window.messages.clear();
  EXPECT_TRUE(ResultLoad(window, context, path));
  EXPECT_EQ(window.messages, std::vector<std::string>{"toResultLoad: 成功载入一个 result.lvn 搜索历史文件。"});
  EXPECT_EQ(ViewFileDirectory(context), inside);
}

// Random bytes and mangled descriptors: the loader reports or restores, never crashes.
TEST_F(ResultLoadTest, FuzzedDescriptors) {
  std::mt19937 random(42);
  const std::vector<std::string> pieces = {history, target, "\r\n", "\n", "\r", "_mp[", "]=", ";", "-", "0", "1",
                                           "10001", "99999999999999999999", "Y", "\x1A", std::string(1, '\0'), "\xFF",
                                           "[", "]", "=", "k", "\xB0\x41", std::string(5000, 'z')};
  for (int round = 0; round < 400; ++round) {
    std::string text;
    const int count = static_cast<int>(random() % 40);
    for (int i = 0; i < count; ++i) {
      if (random() % 5 == 0) {
        text += static_cast<char>(random() % 256);
      } else {
        text += pieces[random() % pieces.size()];
      }
    }
    const std::string path = WriteFile(dir / "fuzz.lvn", text);
    ResultLoad(window, context, path);
  }
  SUCCEED();
}

}  // namespace
}  // namespace lorvane
