#include "common/codepage.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/newline_count.h"

using suite::CodePage;

namespace {

// "癆" in GBK: lead 0xB0, trail 0x41, the same byte as 'A'.
const std::string kGbkWithTrailA = "\xB0\x41";
// "腶" in GBK: trail 0x61, the same byte as 'a'.
const std::string kGbkWithTrailLowerA = "\xC4\x61";

TEST(CodePageTest, NamesSelectTheCodePage) {
  EXPECT_EQ(suite::CodePageFromName("utf-8"), CodePage::Utf8);
  EXPECT_EQ(suite::CodePageFromName("UTF8"), CodePage::Utf8);
  EXPECT_EQ(suite::CodePageFromName("gbk"), CodePage::Gbk);
  EXPECT_EQ(suite::CodePageFromName(nullptr), CodePage::Gbk);
  EXPECT_EQ(suite::CodePageFromName("latin1"), CodePage::Gbk);
}

TEST(CodePageTest, GbkBoundariesFollowLeadBytes) {
  const std::string line = "a" + kGbkWithTrailA + "A";
  EXPECT_TRUE(suite::IsCharBoundary(CodePage::Gbk, line, 0));
  EXPECT_TRUE(suite::IsCharBoundary(CodePage::Gbk, line, 1));
  EXPECT_FALSE(suite::IsCharBoundary(CodePage::Gbk, line, 2));
  EXPECT_TRUE(suite::IsCharBoundary(CodePage::Gbk, line, 3));
  EXPECT_TRUE(suite::IsCharBoundary(CodePage::Gbk, line, 4));
  // A lead byte at the very end has no trail: it stands alone.
  EXPECT_EQ(suite::CharLength(CodePage::Gbk, "\xB0", 0), 1u);
  // A lead byte takes the next byte whatever it is, even an LF-free ASCII one.
  EXPECT_EQ(suite::CharLength(CodePage::Gbk, "\x81\x30", 0), 2u);
}

TEST(CodePageTest, FindSkipsMatchesOnTrailBytes) {
  EXPECT_EQ(suite::FindKeyword(CodePage::Gbk, kGbkWithTrailA, "A"), std::string::npos);
  EXPECT_EQ(suite::FindKeyword(CodePage::Gbk, kGbkWithTrailA + "A", "A"), 2u);
  EXPECT_EQ(suite::FindKeyword(CodePage::Gbk, kGbkWithTrailLowerA + "bc", "abc"), std::string::npos);
  EXPECT_EQ(suite::FindKeyword(CodePage::Gbk, "x" + kGbkWithTrailLowerA + "abc", "abc"), 3u);
  // A double-byte keyword is found at a boundary and not across two characters.
  const std::string two = "\xD6\xD0\xCE\xC4";  // 中文
  EXPECT_EQ(suite::FindKeyword(CodePage::Gbk, "ab" + two, two), 2u);
  EXPECT_EQ(suite::FindKeyword(CodePage::Gbk, "\xB0\xD6\xD0\xCE", "\xD6\xD0"), std::string::npos);
  EXPECT_EQ(suite::FindKeyword(CodePage::Gbk, "anything", ""), 0u);
  EXPECT_EQ(suite::FindKeyword(CodePage::Gbk, "", "a"), std::string::npos);
}

TEST(CodePageTest, FoldingNeverTouchesTrailBytes) {
  EXPECT_EQ(suite::FoldedAsciiCase(CodePage::Gbk, "ERROR " + kGbkWithTrailA + "Z"), "error " + kGbkWithTrailA + "z");
  EXPECT_EQ(suite::FoldedAsciiCase(CodePage::Gbk, "\x81\x5A\x5A"), "\x81\x5A\x7A");
  EXPECT_EQ(suite::FoldedAsciiCase(CodePage::Utf8, "ÄBC é"), "Äbc é");
  // Only A-Z fold: no other byte moves.
  std::string all;
  for (int b = 0; b < 0x80; ++b) all += static_cast<char>(b);
  const std::string folded = suite::FoldedAsciiCase(CodePage::Gbk, all);
  for (int b = 0; b < 0x80; ++b) {
    const char expected = (b >= 'A' && b <= 'Z') ? static_cast<char>(b + 32) : static_cast<char>(b);
    EXPECT_EQ(folded[static_cast<size_t>(b)], expected) << b;
  }
}

TEST(CodePageTest, Utf8FindsWholeCharactersOnly) {
  EXPECT_EQ(suite::FindKeyword(CodePage::Utf8, "日志 ERROR", "ERROR"), 7u);
  EXPECT_TRUE(suite::IsCharBoundary(CodePage::Utf8, "日", 0));
  EXPECT_FALSE(suite::IsCharBoundary(CodePage::Utf8, "日", 1));
}

TEST(CodePageTest, ConversionsAtTheEdge) {
  EXPECT_EQ(suite::CodePageToUtf8(CodePage::Gbk, "\xD6\xD0\xCE\xC4 ok"), "中文 ok");
  EXPECT_EQ(suite::Utf8ToCodePage(CodePage::Gbk, "中文 ok"), "\xD6\xD0\xCE\xC4 ok");
  // Bytes that don't decode show as \xNN, and the rest still converts.
  EXPECT_EQ(suite::CodePageToUtf8(CodePage::Gbk, "a\xFF" "b\xD6\xD0"), "a\\xFFb中");
  // 0x80 is the euro sign in the Chinese code page.
  EXPECT_EQ(suite::CodePageToUtf8(CodePage::Gbk, "\x80"), "€");
  EXPECT_EQ(suite::CodePageToUtf8(CodePage::Utf8, "a\xFF" "b日"), "a\\xFFb日");
  // A cut double-byte character at the end.
  EXPECT_EQ(suite::CodePageToUtf8(CodePage::Gbk, "x\xD6"), "x\\xD6");
  // What GBK can't hold becomes "?".
  EXPECT_EQ(suite::Utf8ToCodePage(CodePage::Gbk, "a😀b"), "a?b");
  EXPECT_EQ(suite::Utf8ToCodePage(CodePage::Utf8, "a😀b"), "a😀b");
  // Long texts convert whole.
  std::string longText;
  for (int i = 0; i < 5000; ++i) longText += "中文";
  EXPECT_EQ(suite::CodePageToUtf8(CodePage::Gbk, suite::Utf8ToCodePage(CodePage::Gbk, longText)), longText);
}

// Where the system lacks GB18030, a character of a path that GBK lacks still
// shows, as the bytes of its UTF-8; the rest of the path is GBK as before.
TEST(CodePageTest, WithoutGb18030WhatGbkLacksShowsAsItsBytes) {
  if (suite::ConvertExactly("GB18030", "UTF-8", "\xF0\x9F\x98\x80")) GTEST_SKIP() << "GB18030 is here";
  suite::SetActiveCodePage(CodePage::Gbk);
  EXPECT_EQ(suite::PathText("/中/😀"), "/\xD6\xD0/\\xF0\\x9F\\x98\\x80");
  EXPECT_EQ(suite::ToUtf8(suite::PathText("/中/😀.log")), "/中/\\xF0\\x9F\\x98\\x80.log");
  // The lead bytes show as bytes; the digits after them are characters of their own.
  EXPECT_EQ(suite::CodePageToUtf8(CodePage::Gbk, "\x81\x30\x81\x30"), "\\x810\\x810");
  suite::SetActiveCodePage(CodePage::Utf8);
}

// A path shows at the edge as the file system spells it, also where GBK
// lacks a character (it travels as GB18030's four bytes) or a byte isn't UTF-8.
TEST(CodePageTest, PathsKeepTheirSpellingThroughMessages) {
  if (!suite::ConvertExactly("GB18030", "UTF-8", "\xF0\x9F\x98\x80")) {
    GTEST_SKIP() << "no GB18030 here (Wine lacks code page 54936): such a character shows as its bytes";
  }
  suite::SetActiveCodePage(CodePage::Gbk);
  for (const std::string path : {"/logs/emo😀/__Lorvane__/x", "/中文/a.log", "/plain/a.log", "/a/é€😀中/b"}) {
    const std::string message = suite::Cp("目录: ") + suite::PathText(path) + suite::Cp(" 不存在!");
    EXPECT_EQ(suite::ToUtf8(message), "目录: " + path + " 不存在!");
  }
  EXPECT_EQ(suite::PathText("/中"), "/\xD6\xD0");
  EXPECT_EQ(suite::ToUtf8(suite::PathText("/caf\xE9/x")), "/caf\\xE9/x");
  // GBK text itself decodes as before; GBK has no four-byte sequences.
  EXPECT_EQ(suite::CodePageToUtf8(CodePage::Gbk, "\x81\x30x"), "\\x810x");
  suite::SetActiveCodePage(CodePage::Utf8);
  EXPECT_EQ(suite::ToUtf8(suite::PathText("/emo😀/x")), "/emo😀/x");
  suite::SetActiveCodePage(CodePage::Gbk);
}

// The LF search written the plain way, byte by byte.
suite::NewlineSearch FindNthNewlineSlowly(const char* data, size_t length, uint64_t n) {
  uint64_t counted = 0;
  for (size_t i = 0; i < length; ++i) {
    if (data[i] == '\n' && ++counted == n) return {i, counted, false};
    if (data[i] == suite::kEndOfText) return {i, counted, true};
  }
  return {length, counted, false};
}

// The vectorised LF search must agree with the plain one on every layout.
TEST(NewlineSearchTest, VectorisedAgreesWithPortable) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    const size_t length = random() % 700;
    std::string data(length, 'x');
    for (auto& c : data) {
      const unsigned pick = random() % 100;
      c = pick < 8 ? '\n' : pick == 8 && round % 3 == 0 ? suite::kEndOfText : static_cast<char>('a' + pick % 26);
    }
    for (uint64_t n : {uint64_t{1}, uint64_t{2}, uint64_t{5}, uint64_t{40}, ~uint64_t{0}}) {
      const auto fast = suite::FindNthNewline(data.data(), data.size(), n);
      const auto slow = FindNthNewlineSlowly(data.data(), data.size(), n);
      ASSERT_EQ(fast.position, slow.position) << round << " n=" << n;
      ASSERT_EQ(fast.counted, slow.counted) << round << " n=" << n;
      ASSERT_EQ(fast.textEnded, slow.textEnded) << round << " n=" << n;
    }
  }
}

}  // namespace
