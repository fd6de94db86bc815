#include <gtest/gtest.h>

#include <climits>

#include "common/codepage.h"
#include "searcher/report/field_text.h"

namespace lorvane {
namespace {

class FieldTextTest : public ::testing::Test {
 protected:
  void SetUp() override { suite::SetActiveCodePage(suite::CodePage::Gbk); }
  // Back to '|' in both the current and the saved slot.
  void TearDown() override {
    CFieldText::InstallSeparator('|');
    CFieldText::InstallSeparator('|');
  }
};

TEST_F(FieldTextTest, FieldsInsideTheRecord) {
  const CFieldText record("a|b|c");
  EXPECT_EQ(record.GetField(0), "a");
  EXPECT_EQ(record.GetField(1), "b");
  EXPECT_EQ(record.GetField(2), "c");
  EXPECT_EQ(record.GetFields(0, 1), "a|b");
  EXPECT_EQ(record.GetFields(1, 2), "b|c");
  EXPECT_EQ(record.GetFields(0, -1), "a|b|c");
  EXPECT_EQ(record.GetFields(1, -1), "b|c");
  EXPECT_EQ(CFieldText("ab|cd|").GetFields(0, 1), "ab|cd");
}

TEST_F(FieldTextTest, EmptyFields) {
  EXPECT_EQ(CFieldText("|b").GetField(0), "");
  EXPECT_EQ(CFieldText("|b").GetField(1), "b");
  EXPECT_EQ(CFieldText("a||c").GetField(1), "");
  EXPECT_EQ(CFieldText("a|b|").GetField(2), "");
  EXPECT_EQ(CFieldText("a|b|").GetField(1), "b");
  EXPECT_EQ(CFieldText("a|b|").GetFields(0, -1), "a|b|");
  EXPECT_EQ(CFieldText("||").GetFields(0, -1), "||");
  for (int field : {0, 1, 5}) EXPECT_EQ(CFieldText("").GetField(field), "") << field;
}

TEST_F(FieldTextTest, FieldsPastTheEndArePaddedWithSeparators) {
  EXPECT_EQ(CFieldText("a|b").GetFields(1, 3), "b||");
  EXPECT_EQ(CFieldText("a|b").GetFields(2, 4), "||");
  EXPECT_EQ(CFieldText("a|").GetFields(1, 2), "|");
  EXPECT_EQ(CFieldText("").GetFields(0, 2), "||");
  EXPECT_EQ(CFieldText("a").GetFields(0, 3), "a|||");
  EXPECT_EQ(CFieldText("a").GetField(7), "");
  EXPECT_EQ(CFieldText::RepeatByte('|', -2), "");
}

TEST_F(FieldTextTest, NegativeAndReversedRangesAreEmpty) {
  const CFieldText record("a|b|c");
  EXPECT_EQ(record.GetFields(-1, 1), "");
  EXPECT_EQ(record.GetField(-1), "");
  EXPECT_EQ(record.GetFields(2, 1), "");
  EXPECT_EQ(record.GetFields(3, -1), "");  // the last field is 2
  EXPECT_EQ(record.GetFields(1, 0), "");
  // last - first + 1 would overflow an int.
  EXPECT_EQ(record.GetFields(INT_MIN, INT_MAX), "");
}

TEST_F(FieldTextTest, TrailByteEqualToTheSeparatorSplitsAField) {
  // 0x81 0x7C is one GBK character; its trail byte is the vertical bar.
  const CFieldText record("x\x81|y");
  EXPECT_EQ(record.GetField(0), "x\x81");
  EXPECT_EQ(record.GetField(1), "y");
  EXPECT_EQ(record.CountOf('|'), 1u);
}

TEST_F(FieldTextTest, SeparatorArgumentLeavesTheProcessSeparatorAlone) {
  const CFieldText record("x,y|z");
  EXPECT_EQ(record.GetField(1, ','), "y|z");
  EXPECT_EQ(CFieldText::Separator(), '|');
  EXPECT_EQ(record.GetField(1), "z");

  CFieldText::InstallSeparator(';');
  EXPECT_EQ(CFieldText("p;q,r").GetField(1, ','), "r");
  EXPECT_EQ(CFieldText::Separator(), ';');
  CFieldText::RestoreSeparator();
  EXPECT_EQ(CFieldText::Separator(), '|');  // the saved slot is untouched
}

TEST_F(FieldTextTest, InstallKeepsOneLevelOnly) {
  CFieldText::InstallSeparator(',');
  EXPECT_EQ(CFieldText("a,b").GetField(1), "b");
  CFieldText::InstallSeparator('\b');
  EXPECT_EQ(CFieldText("a\bb").GetField(1), "b");
  CFieldText::RestoreSeparator();
  EXPECT_EQ(CFieldText::Separator(), ',');
  CFieldText::RestoreSeparator();
  EXPECT_EQ(CFieldText::Separator(), ',');  // the '|' was overwritten
}

TEST_F(FieldTextTest, CountOf) {
  EXPECT_EQ(CFieldText("ababab").CountOf("ab"), 3u);
  EXPECT_EQ(CFieldText("aaaa").CountOf("aa"), 2u);
  EXPECT_EQ(CFieldText("aaa").CountOf("aa"), 1u);
  EXPECT_EQ(CFieldText("abc").CountOf("abcd"), 0u);
  EXPECT_EQ(CFieldText("abc").CountOf(""), 0u);
  EXPECT_EQ(CFieldText("a|b||").CountOf('|'), 3u);
  EXPECT_EQ(CFieldText("").CountOf('|'), 0u);
}

TEST_F(FieldTextTest, CountOfTextMatchesOnCharacterBoundariesOnly) {
  // "\xB0\xA1" is one character; "\xA1\xB0" is found only across two of them.
  EXPECT_EQ(CFieldText("\xB0\xA1\xB0\xA1").CountOf("\xA1\xB0"), 0u);
  EXPECT_EQ(CFieldText("\xB0\xA1\xB0\xA1").CountOf("\xB0\xA1"), 2u);
  // A trail byte that equals the text is no match either, unlike CountOf(byte).
  EXPECT_EQ(CFieldText("\x81|").CountOf("|"), 0u);

  suite::SetActiveCodePage(suite::CodePage::Utf8);
  EXPECT_EQ(CFieldText("\x81|").CountOf("|"), 1u);
}

}  // namespace
}  // namespace lorvane
