#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "common/codepage.h"
#include "recording_window.h"
#include "searcher/engine/quick_index.h"
#include "searcher/history/decimal_text.h"
#include "searcher/history/result_check.h"
#include "searcher/history/result_descriptor.h"
#include "test_support/temp_dir.h"

namespace lorvane {
namespace {

using suite::testing::ReadFile;
using suite::testing::TempDir;
using suite::testing::WriteFile;

TEST(DecimalTextTest, ReadsLikeTheCLibrary) {
  EXPECT_EQ(ReadDecimal("25037"), 25037);
  EXPECT_EQ(ReadDecimal("  \t-12x"), -12);
  EXPECT_EQ(ReadDecimal("+7;"), 7);
  EXPECT_EQ(ReadDecimal("abc"), 0);
  EXPECT_EQ(ReadDecimal(""), 0);
  EXPECT_EQ(ReadDecimal("- 5"), 0);
  EXPECT_EQ(ReadDecimal("99999999999999999999999"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(ReadDecimal("-99999999999999999999999"), std::numeric_limits<int64_t>::min());
}

TEST(DescriptorTest, QuickIndexLines) {
  int64_t key = -1, offset = -1;
  EXPECT_TRUE(ParseQuickIndexLine("_mp[1]=8192;", &key, &offset));
  EXPECT_EQ(key, 1);
  EXPECT_EQ(offset, 8192);
  // Only the four marks and their order count; what stands around them doesn't.
  EXPECT_TRUE(ParseQuickIndexLine("x[ 2 ]junk= -3 ;tail", &key, &offset));
  EXPECT_EQ(key, 2);
  EXPECT_EQ(offset, -3);
  EXPECT_TRUE(ParseQuickIndexLine("[]=;", &key, &offset));
  EXPECT_EQ(key, 0);
  EXPECT_EQ(offset, 0);
  for (const char* bad : {"_mp1]=2;", "_mp[1=2;", "_mp[1]2;", "_mp[1]=2", "=;[]", "", "]=[;"}) {
    EXPECT_FALSE(ParseQuickIndexLine(bad, &key, &offset)) << bad;
  }
}

// Our descriptors list the index in key order; a damaged one may not, and a
// key may come twice: the index then reads as if each line were set in turn.
TEST(DescriptorTest, AnIndexInAnyOrderReadsAsIfSetInTurn) {
  TempDir dir;
  const std::string path = WriteFile(dir / "result.lvn", "h\r\nt\r\nk\r\nY\r\n1K\r\n30001\r\n0\r\n"
                                                         "_mp[2]=200;\r\n_mp[0]=0;\r\n_mp[3]=300;\r\n_mp[1]=100;\r\n"
                                                         "_mp[2]=250;\r\nnot an entry\r\n");
  DescriptorContents descriptor;
  ASSERT_TRUE(ReadDescriptor(path, &descriptor));
  const QuickIndex::Table read = descriptor.index.Entries();
  EXPECT_EQ(read, (QuickIndex::Table{{0, 0}, {1, 100}, {2, 250}, {3, 300}}));

  QuickIndex byHand;
  for (const auto& [key, offset] : {std::pair{2, 200}, {0, 0}, {3, 300}, {1, 100}, {2, 250}}) {
    byHand.Set(suite::BlockKey{key}, suite::ByteOffset{offset});
  }
  EXPECT_EQ(byHand.Entries(), read);
  EXPECT_EQ(byHand.Find(suite::BlockKey{2}), suite::ByteOffset{250});
  EXPECT_FALSE(byHand.Find(suite::BlockKey{4}));
  byHand.Erase(suite::BlockKey{1});
  byHand.Erase(suite::BlockKey{7});
  EXPECT_EQ(byHand.Entries(), (QuickIndex::Table{{0, 0}, {2, 250}, {3, 300}}));
  EXPECT_EQ(byHand.HighestKey(), suite::BlockKey{3});
}

TEST(DescriptorTest, WrittenBytes) {
  TempDir dir;
  QuickIndex index;
  index.Set(suite::BlockKey{1}, suite::ByteOffset{60000});
  index.Set(suite::BlockKey{0}, suite::ByteOffset{0});
  const CLVNResultHeader header{dir.Path(), "/logs/a.log", "ERROR x", "Y", "1K 0B", "10001", "5"};
  testing::RecordingWindow window;
  EXPECT_TRUE(toResultWrite(window, header, index));
  EXPECT_EQ(ReadFile(dir / "result.lvn"),
            dir.Path() + "\r\n/logs/a.log\r\nERROR x\r\nY\r\n1K 0B\r\n10001\r\n5\r\n_mp[0]=0;\r\n_mp[1]=60000;\r\n");
  EXPECT_TRUE(window.messages.empty());

  const CLVNResultHeader nowhere{dir / "gone", "", "", "", "", "", ""};
  EXPECT_FALSE(toResultWrite(window, nowhere, index));
  EXPECT_EQ(window.messages.back(), "toResultWrite: 不能创建搜索结果文件“" + dir / "gone/result.lvn" + "”!");
}

class CheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    suite::SetActiveCodePage(suite::CodePage::Gbk);
    target = WriteFile(dir / "t.log", std::string(1536, 'x'));
  }
  std::string Error(CLVNResultHeader header, int64_t highestKey) {
    CLVNResultCheck check(std::move(header), suite::BlockKey{highestKey});
    return check.CheckHeader() ? "" : suite::ToUtf8(check.ErrorText());
  }
  CLVNResultHeader Good() const { return {dir.Path(), target, "k", "N", "1K 512B", "10001", "3"}; }

  TempDir dir;
  std::string target;
};

TEST_F(CheckTest, HeaderTestsInOrder) {
  EXPECT_EQ(Error(Good(), 1), "");
  auto header = Good();
  header.historyDirectory = dir / "gone";
  header.targetPath = dir / "missing";
  EXPECT_EQ(Error(header, 1), "CLVNResultCheck: 搜索结果目录不存在! 目录[" + dir / "gone" + "]");
  header = Good();
  header.targetPath = dir / "missing";
  EXPECT_EQ(Error(header, 1), "CLVNResultCheck: 目标文件不存在! 路径[" + dir / "missing" + "]");
  header = Good();
  header.keyword = "";
  EXPECT_EQ(Error(header, 1), "CLVNResultCheck: 关键字为空!");
  header = Good();
  header.totalLines = "-1";
  EXPECT_EQ(Error(header, 1), "CLVNResultCheck: 目标文件总行数非法! 总行数[-1]");
  header = Good();
  header.resultLines = "10002";
  EXPECT_EQ(Error(header, 1), "CLVNResultCheck: 搜索结果总行数非法! 总行数[10002]");
  header.resultLines = "-3";
  EXPECT_EQ(Error(header, 1), "CLVNResultCheck: 搜索结果总行数非法! 总行数[-3]");
}

TEST_F(CheckTest, QuickIndexCountMustFitTheLineCount) {
  auto header = Good();
  EXPECT_EQ(Error(header, 0), "CLVNResultCheck: 快速索引数不合理! 快速索引数[0] != (总行数[10001]-1)/10000");
  header.totalLines = "10000";
  EXPECT_EQ(Error(header, 0), "");
  // A descriptor of seven lines has no key at all.
  EXPECT_EQ(Error(header, -1), "CLVNResultCheck: 快速索引数不合理! 快速索引数[-1] != (总行数[10000]-1)/10000");
  // The search of an empty target writes no key, and its own restore takes it.
  header.totalLines = "0";
  header.resultLines = "0";
  EXPECT_EQ(Error(header, -1), "");
  EXPECT_NE(Error(header, 0), "");
  // A field that isn't a number reads as 0.
  header.totalLines = "lots";
  EXPECT_EQ(Error(header, -1), "");
}

TEST_F(CheckTest, TargetSizeIsComparedAsText) {
  CLVNResultCheck same(Good(), suite::BlockKey{1});
  EXPECT_TRUE(same.CheckTargetSize());
  auto header = Good();
  header.targetSize = "1K 511B";
  CLVNResultCheck changed(header, suite::BlockKey{1});
  EXPECT_FALSE(changed.CheckTargetSize());
  EXPECT_EQ(suite::ToUtf8(changed.WarningText()), "CLVNResultCheck: 文件大小与存储的不一致! 现大小[1K 512B]");
}

}  // namespace
}  // namespace lorvane
