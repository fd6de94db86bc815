#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/codepage_choice.h"
#include "snippets/heading_line.h"
#include "snippets/list_file_reader.h"
#include "snippets/message_text.h"
#include "snippets/snippet_entry.h"
#include "test_support/temp_dir.h"

namespace snipkeep {
namespace {

using suite::CodePage;
using suite::testing::TempDir;
using suite::testing::WriteFile;

bool Heading(std::string_view line) { return IsHeadingLine(CodePage::Gbk, line); }

TEST(HeadingLineTest, BracketAfterTheFirstCharacterAndClosingBracketLast) {
  EXPECT_TRUE(Heading("a[b]"));
  EXPECT_TRUE(Heading("build[release]"));
  EXPECT_TRUE(Heading("a[]"));
  EXPECT_TRUE(Heading("a[b[c]"));
  EXPECT_TRUE(Heading("a]b[c]"));

  EXPECT_FALSE(Heading("[b]"));     // a bracket at the start
  EXPECT_FALSE(Heading("[a[b]"));   // only the first "[" counts
  EXPECT_FALSE(Heading("a]b"));
  EXPECT_FALSE(Heading("a[b] "));   // a blank after the bracket
  EXPECT_FALSE(Heading("a[b]\r"));  // a CR that wasn't part of a CR LF
  EXPECT_FALSE(Heading("a[b"));
  EXPECT_FALSE(Heading("]"));
  EXPECT_FALSE(Heading(""));
}

TEST(HeadingLineTest, TrailBytesAreNeverBrackets) {
  // 0x81 0x5B and 0x81 0x5D are single GBK characters.
  EXPECT_FALSE(Heading("a\x81\x5B" "b]"));
  EXPECT_FALSE(Heading("a[b\x81\x5D"));
  EXPECT_TRUE(Heading("\xB0\xA1[\x81\x5D]"));
  // A double-byte first character: the "[" after it is the second character.
  EXPECT_TRUE(Heading("\xB0\xA1[x]"));
  // A lead byte at the very end pairs with nothing: the "]" before it isn't last.
  EXPECT_FALSE(Heading("a[b]\x81"));

  // In UTF-8 the same bytes are no double-byte characters.
  EXPECT_TRUE(IsHeadingLine(CodePage::Utf8, "a\x81\x5B" "b]"));
  EXPECT_TRUE(IsHeadingLine(CodePage::Utf8, "\xE4\xB8\xAD[\xE6\x96\x87]"));
}

std::vector<SnippetEntry> Entries(std::initializer_list<const char*> lines) {
  std::vector<SnippetEntry> entries;
  for (const char* line : lines) entries.push_back(SnippetEntry{line, Heading(line)});
  return entries;
}

TEST(GatherTest, EntriesUpToTheNextHeadingEachWithCrLf) {
  const auto entries = Entries({"cd /tmp", "build[release]", "make clean", "make all", "[end]", "b[x]", "y"});
  EXPECT_EQ(GatherMultiLineSnippet(entries, 1), "make clean\r\nmake all\r\n[end]\r\n");
  EXPECT_EQ(GatherMultiLineSnippet(entries, 5), "y\r\n");
}

TEST(GatherTest, LastEntryGathersNothingAndTwoHeadingsInARowGatherEmpty) {
  const auto entries = Entries({"a[1]", "b[2]", "c"});
  EXPECT_EQ(GatherMultiLineSnippet(entries, 0), std::string());
  EXPECT_EQ(GatherMultiLineSnippet(entries, 2), std::nullopt);
  EXPECT_EQ(GatherMultiLineSnippet(Entries({"a[1]"}), 0), std::nullopt);
  EXPECT_EQ(GatherMultiLineSnippet({}, 0), std::nullopt);
}

class ListFileReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { suite::SetActiveCodePage(CodePage::Gbk); }
  TempDir dir;
};

TEST_F(ListFileReaderTest, EmptyLinesVanishBlankLinesStay) {
  const std::string path = WriteFile(dir / "a.txt", "one\r\n\r\n\n  \r\nh[x]\r\n\tlast");
  std::vector<SnippetEntry> entries{{"stale", false}};
  ASSERT_EQ(ReadListFile(path, entries), ListReadResult::Read);
  EXPECT_EQ(entries, (std::vector<SnippetEntry>{{"one", false}, {"  ", false}, {"h[x]", true}, {"\tlast", false}}));
}

TEST_F(ListFileReaderTest, TextEndsAtCtrlZ) {
  const std::string path = WriteFile(dir / "a.txt", "x\r\ny\x1Az\r\n");
  std::vector<SnippetEntry> entries;
  ASSERT_EQ(ReadListFile(path, entries), ListReadResult::Read);
  EXPECT_EQ(entries, (std::vector<SnippetEntry>{{"x", false}, {"y", false}}));
}

TEST_F(ListFileReaderTest, ADirectoryOrAMissingFileDoesNotOpen) {
  std::vector<SnippetEntry> entries{{"stale", false}};
  EXPECT_EQ(ReadListFile(dir.Path(), entries), ListReadResult::OpenFailed);
  EXPECT_TRUE(entries.empty());
  EXPECT_EQ(ReadListFile(dir / "none.txt", entries), ListReadResult::OpenFailed);
}

// The same lines, to be written in GBK and in UTF-8. "塢" is 0x89 0x5D in GBK
// and "嶽" 0x8E 0x5B: a "]" and a "[" that only the GBK characters hold.
struct ShownEntry {
  std::string utf8;
  bool heading;
  friend bool operator==(const ShownEntry&, const ShownEntry&) = default;
};
const std::vector<ShownEntry> kChineseList = {
    {"复制 中文", false}, {"部署[正式]", true}, {"make 全部", false}, {"停靠[船塢", false}, {"嶽[乕]", true}};

std::string ListText(const std::vector<ShownEntry>& list) {
  std::string text;
  for (const auto& entry : list) text += entry.utf8 + "\r\n";
  return text;
}

// What the snippet list shows of the entries.
std::vector<ShownEntry> Shown(const std::vector<SnippetEntry>& entries) {
  std::vector<ShownEntry> shown;
  for (const auto& entry : entries) shown.push_back({suite::ToUtf8(entry.text), entry.heading});
  return shown;
}

std::vector<SnippetEntry> Read(const std::string& path, const suite::CodePageSetting& setting = {}) {
  std::vector<SnippetEntry> entries;
  EXPECT_EQ(ReadListFile(path, entries, setting), ListReadResult::Read);
  return entries;
}

TEST_F(ListFileReaderTest, GbkAndUtf8ListsShowTheSameEntriesWhateverTheMessageCodePage) {
  const std::string gbk = WriteFile(dir / "gbk.txt", suite::ConvertFromUtf8("GBK", ListText(kChineseList)));
  const std::string utf8 = WriteFile(dir / "utf8.txt", ListText(kChineseList));
  for (const CodePage messages : {CodePage::Gbk, CodePage::Utf8}) {
    suite::SetActiveCodePage(messages);
    EXPECT_EQ(Shown(Read(gbk)), kChineseList) << suite::CodePageName(messages);
    EXPECT_EQ(Shown(Read(utf8)), kChineseList) << suite::CodePageName(messages);
    // The entries are text of the message code page: the same bytes from either file.
    EXPECT_EQ(Read(gbk), Read(utf8));
    EXPECT_EQ(Read(gbk)[0].text, suite::Cp("复制 中文"));
  }
}

TEST_F(ListFileReaderTest, AListInTheMessageCodePageKeepsItsBytes) {
  const std::string text = suite::ConvertFromUtf8("GBK", "a[\xE5\xA1\xA2]\r\n") + "bad\x81\r\n";
  const std::string gbk = WriteFile(dir / "gbk.txt", text);
  EXPECT_EQ(Read(gbk), (std::vector<SnippetEntry>{{"a[\x89\x5D]", true}, {"bad\x81", false}}));
  // The stray lead byte shows as the text "\x81" in a UTF-8 message code page.
  suite::SetActiveCodePage(CodePage::Utf8);
  EXPECT_EQ(Read(gbk)[1].text, "bad\\x81");
}

TEST_F(ListFileReaderTest, CharactersGbkLacksSurviveAGbkMessageCodePage) {
  SUITE_SKIP_WITHOUT_GB18030();
  const std::string lines = "smile \xF0\x9F\x98\x80\r\n\xF0\xA0\x80\x80[\xE2\x82\xAC]\r\n";  // an emoji; U+20000[€]
  const std::string utf8 = WriteFile(dir / "utf8.txt", lines);
  const std::vector<ShownEntry> expected = {{"smile \xF0\x9F\x98\x80", false}, {"\xF0\xA0\x80\x80[\xE2\x82\xAC]", true}};
  EXPECT_EQ(Shown(Read(utf8)), expected);
  suite::SetActiveCodePage(CodePage::Utf8);
  EXPECT_EQ(Read(utf8), (std::vector<SnippetEntry>{{expected[0].utf8, false}, {expected[1].utf8, true}}));
}

TEST_F(ListFileReaderTest, AForcedCodePageReadsEveryList) {
  const std::string utf8 = WriteFile(dir / "utf8.txt", ListText(kChineseList));
  // Forced GBK in a GBK message code page: the UTF-8 bytes are taken as they are.
  const std::vector<SnippetEntry> entries = Read(utf8, suite::ParseCodePageSetting("gbk"));
  ASSERT_EQ(entries.size(), kChineseList.size());
  for (size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i].text, kChineseList[i].utf8);
  const std::string gbk = WriteFile(dir / "gbk.txt", suite::ConvertFromUtf8("GBK", ListText(kChineseList)));
  EXPECT_EQ(Shown(Read(gbk, suite::ParseCodePageSetting("gbk"))), kChineseList);
  // A value SUITE_CODEPAGE doesn't take forces nothing.
  EXPECT_EQ(Shown(Read(utf8, suite::ParseCodePageSetting("bogus"))), kChineseList);
}

TEST_F(ListFileReaderTest, TheCodePageIsJudgedByAllLinesTogether) {
  // One GBK line among UTF-8 ones: not UTF-8, so all are read as GBK.
  const std::string mixed = WriteFile(dir / "mixed.txt", "\xE4\xB8\xAD\r\n" + suite::ConvertFromUtf8("GBK", "中\r\n"));
  const std::vector<SnippetEntry> entries = Read(mixed);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(suite::ToUtf8(entries[1].text), "中");
  // Text after a 0x1A is no part of the list and tells nothing.
  const std::string cut = WriteFile(dir / "cut.txt", "\xE4\xB8\xAD\r\n\x1A\xD6\xD0\r\n");
  EXPECT_EQ(Shown(Read(cut)), (std::vector<ShownEntry>{{"中", false}}));
}

TEST(MessageTextTest, FileTextIntoTheMessageCodePage) {
  SUITE_SKIP_WITHOUT_GB18030();
  const std::string gbkMiddle = "\xD6\xD0";       // "中"
  const std::string utf8Middle = "\xE4\xB8\xAD";  // "中"
  suite::SetActiveCodePage(CodePage::Utf8);
  EXPECT_EQ(MessageTextOf(CodePage::Gbk, gbkMiddle + "\x81"), utf8Middle + "\\x81");
  EXPECT_EQ(MessageTextOf(CodePage::Utf8, utf8Middle + "\xFF"), utf8Middle + "\xFF");  // kept: same code page
  suite::SetActiveCodePage(CodePage::Gbk);
  EXPECT_EQ(MessageTextOf(CodePage::Gbk, gbkMiddle + "\x81"), gbkMiddle + "\x81");
  EXPECT_EQ(MessageTextOf(CodePage::Utf8, utf8Middle + "\xFF"), gbkMiddle + "\\xFF");
  // A character GBK lacks goes in as its GB18030 bytes, and shows as itself.
  const std::string emoji = "\xF0\x9F\x98\x80";
  EXPECT_EQ(MessageTextOfUtf8(emoji), "\x94\x39\xFC\x36");
  EXPECT_EQ(suite::ToUtf8(MessageTextOfUtf8("a" + emoji + utf8Middle)), "a" + emoji + utf8Middle);
}

}  // namespace
}  // namespace snipkeep
