#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "snippets/heading_line.h"
#include "snippets/list_file_reader.h"
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

}  // namespace
}  // namespace snipkeep
