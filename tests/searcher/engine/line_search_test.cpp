// The block search against a plain line-by-line reference, on generated data.
#include "searcher/engine/line_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "common/codepage.h"
#include "common/exclusive_file.h"
#include "common/line_reader.h"
#include "common/line_scanner.h"
#include "searcher/engine/keyword_matcher.h"
#include "searcher/engine/quick_index.h"
#include "test_support/temp_dir.h"

namespace lorvane {
namespace {

using suite::CodePage;
using suite::testing::TempDir;
using suite::testing::WriteFile;
using Matches = std::vector<std::pair<int64_t, std::string>>;

// The matching rule written the slow, obvious way.
Matches Reference(const std::string& path, const std::string& keyword, bool matchCase, CodePage codePage,
                  int64_t* lines) {
  suite::ExclusiveFile file;
  EXPECT_TRUE(file.Open(path));
  suite::LineReader reader(file);
  suite::TextLine line;
  Matches matches;
  const std::string key = matchCase ? keyword : suite::FoldedAsciiCase(codePage, keyword);
  int64_t number = 0;
  while (reader.Next(line)) {
    ++number;
    const std::string text(line.text);
    const std::string compared = matchCase ? text : suite::FoldedAsciiCase(codePage, text);
    if (suite::FindKeyword(codePage, compared, key) != std::string::npos) matches.emplace_back(number, text);
  }
  *lines = number;
  return matches;
}

struct Collector : LineSink {
  Matches matches;
  int64_t textEnd = -1;  // where the search said the text ended
  std::vector<std::pair<int64_t, size_t>> checkpoints;  // line, matches before it
  bool OnMatch(suite::LineNumber lineNumber, const FoundLine& line) override {
    std::string text(line.Size(), '\0');
    EXPECT_TRUE(line.CopyTo(text.data()));
    matches.emplace_back(lineNumber.value, std::move(text));
    return true;
  }
  void OnCheckpoint(suite::LineNumber line) override { checkpoints.emplace_back(line.value, matches.size()); }
};

Matches Fast(const std::string& path, const std::string& keyword, bool matchCase, CodePage codePage,
             size_t blockSize, int64_t* lines, Collector* collector = nullptr, int64_t stride = 10000,
             int workers = suite::ScanWorkers()) {
  suite::ExclusiveFile file;
  EXPECT_TRUE(file.Open(path));
  Collector local;
  Collector& sink = collector ? *collector : local;
  const KeywordMatcher matcher(keyword, matchCase, codePage);
  const LineSearchResult result = SearchLines(file, matcher, sink, stride, blockSize, nullptr, nullptr, workers);
  *lines = result.linesRead.value;
  sink.textEnd = result.textEnd.value;
  return sink.matches;
}

// Random text built from pieces that trip a search: GBK characters whose trail
// byte is a letter, CRs, tabs, 0x1A now and then, long lines, the keyword in
// both cases and cut in two.
std::string RandomText(std::mt19937& random, CodePage codePage, const std::string& keyword, bool withEndOfText) {
  const std::vector<std::string> gbkPieces = {"\xB0\x41", "\xC4\x61", "\xD6\xD0", "\x81\x40", "\xB0" "ERROR"};
  const std::vector<std::string> utf8Pieces = {"日", "志", "é", "\xE4\xB8"};
  const auto& wide = codePage == CodePage::Gbk ? gbkPieces : utf8Pieces;
  std::string text;
  const int lines = 1 + static_cast<int>(random() % 60);
  for (int l = 0; l < lines; ++l) {
    const int pieces = static_cast<int>(random() % (random() % 40 == 0 ? 3000 : 12));
    for (int p = 0; p < pieces; ++p) {
      switch (random() % 9) {
        case 0: text += keyword; break;
        case 1: text += suite::FoldedAsciiCase(codePage, keyword); break;
        case 2: text += keyword.substr(0, random() % (keyword.size() + 1)); break;
        case 3: text += wide[random() % wide.size()]; break;
        case 4: text += '\r'; break;
        case 5: text += '\t'; break;
        case 6: text += "ERROR error Error"; break;
        default: text += static_cast<char>('A' + random() % 58); break;
      }
    }
    text += random() % 3 ? "\r\n" : "\n";
    if (withEndOfText && random() % 200 == 0) text += random() % 2 ? "\x1A" : "cut\x1A";
  }
  switch (random() % 4) {  // a last line without LF, with and without the keyword
    case 0: text += keyword; break;
    case 1: text += "tail"; break;
    default: break;
  }
  return text;
}

TEST(LineSearchTest, FastPathAgreesWithTheReference) {
  TempDir dir;
  std::mt19937 random(20261208);
  const std::vector<std::pair<CodePage, std::vector<std::string>>> keywords = {
      {CodePage::Gbk, {"A", "a", "ERROR", "rOr", "\xD6\xD0", "\xB0\x41", "x\xB0\x41", "a\tb", "Ab", ""}},
      {CodePage::Utf8, {"A", "ERROR", "日志", "é", "r\r", ""}},
  };
  for (const auto& [codePage, words] : keywords) {
    for (const std::string& keyword : words) {
      for (int round = 0; round < 12; ++round) {
        const std::string text = RandomText(random, codePage, keyword, round % 3 == 0);
        const std::string path = WriteFile(dir / "r.log", text);
        const auto textEnd = static_cast<int64_t>(std::min(text.find('\x1A'), text.size()));
        for (bool matchCase : {true, false}) {
          int64_t referenceLines = 0;
          const Matches expected = Reference(path, keyword, matchCase, codePage, &referenceLines);
          for (size_t blockSize : {size_t{1}, size_t{5}, size_t{64}, size_t{4096}, size_t{1} << 20}) {
            // Every window a worker of its own, or taken in turns by fewer:
            // ctest's runs with SUITE_THREADS=1, 2 and 3 give each case each.
            const int workers = 1 + (round + static_cast<int>(blockSize) + suite::ScanWorkers()) % 3;
            int64_t lines = 0;
            Collector sink;
            const Matches found = Fast(path, keyword, matchCase, codePage, blockSize, &lines, &sink, 10000, workers);
            size_t first = 0;
            while (first < found.size() && first < expected.size() && found[first] == expected[first]) ++first;
            ASSERT_EQ(found, expected) << "keyword [" << keyword << "] case " << matchCase << " block " << blockSize
                                       << " workers " << workers
                                       << " round " << round << ", first difference at match " << first << ": line "
                                       << (first < found.size() ? found[first].first : -1) << " against "
                                       << (first < expected.size() ? expected[first].first : -1);
            ASSERT_EQ(lines, referenceLines) << "keyword [" << keyword << "] case " << matchCase << " block "
                                             << blockSize << " round " << round;
            // Where the text ends: at its first 0x1A, or with the file.
            ASSERT_EQ(sink.textEnd, textEnd) << "keyword [" << keyword << "] block " << blockSize << " round " << round;
          }
        }
      }
    }
  }
}

// A worker keeps a bounded number of matches: a window with more is finished
// by the caller. Every line comes once, in order, with its number, and the
// index is the one a pre-read gives.
TEST(LineSearchTest, AWindowWithMoreMatchesThanTheHelperKeepsComesWhole) {
  TempDir dir;
  std::string text;
  for (int i = 0; i < 1600000; ++i) text += i % 2 ? "a\n" : "b a\r\n";
  const std::string path = WriteFile(dir / "many.log", text);
  suite::ExclusiveFile file;
  ASSERT_TRUE(file.Open(path));
  struct Numbers : LineSink {
    int64_t expected = 1;
    bool inOrder = true;
    bool OnMatch(suite::LineNumber lineNumber, const FoundLine& line) override {
      inOrder = inOrder && lineNumber.value == expected++ && line.Size() == (lineNumber.value % 2 ? 3u : 1u);
      return true;
    }
    void OnCheckpoint(suite::LineNumber) override {}
  };
  const KeywordMatcher matcher("a", true, CodePage::Gbk);
  QuickIndex preRead;
  suite::ScanLineStarts(file, suite::kQuickIndexStride, [&](suite::LineCount linesBefore, suite::ByteOffset offset) {
    preRead.Set(suite::BlockAfter(linesBefore), offset);
  });
  for (int workers = 1; workers <= 3; ++workers) {
    // With the pre-read's index to confirm entries with: a worker's room
    // may run out right where an entry is noted.
    for (const QuickIndex* hints : std::vector<const QuickIndex*>{nullptr, &preRead}) {
      Numbers sink;
      QuickIndex index;
      const LineSearchResult result = SearchLines(file, matcher, sink, 10000, size_t{1} << 20, &index, hints, workers);
      EXPECT_EQ(result.linesRead, suite::LineCount{1600000});
      EXPECT_EQ(sink.expected, 1600001);
      EXPECT_TRUE(sink.inOrder);
      ASSERT_EQ(index.Size(), 160);
      // Line 10001 starts after 5000 lines of each kind: 5000 * 5 + 5000 * 2 bytes.
      EXPECT_EQ(index.Find(suite::BlockKey{1}), suite::ByteOffset{35000});
      EXPECT_EQ(index.Entries(), preRead.Entries());
    }
  }
}

// The quick index a search reads is the pre-read's, whatever the windows, the
// workers and the index it is given to confirm entries with: right, shifted
// into the middle of lines, or pointing at the wrong lines.
TEST(LineSearchTest, TheIndexItReadsIsThePreReadsWhateverTheHints) {
  TempDir dir;
  std::mt19937 random(20261209);
  std::string text;
  for (int line = 0; line < 45000; ++line) {
    text.append(random() % 7, 'x');
    if (random() % 50 == 0) text += "hit";
    text += random() % 2 ? "\r\n" : "\n";
  }
  for (const bool endOfText : {false, true}) {
    const std::string body = endOfText ? text.substr(0, 200000) + "tail\x1A" + text : text + "last";
    const std::string path = WriteFile(dir / "i.log", body);
    suite::ExclusiveFile file;
    ASSERT_TRUE(file.Open(path));
    QuickIndex preRead;
    suite::ScanLineStarts(file, suite::kQuickIndexStride, [&](suite::LineCount linesBefore, suite::ByteOffset offset) {
      preRead.Set(suite::BlockAfter(linesBefore), offset);
    });
    ASSERT_GT(preRead.Size(), endOfText ? 1 : 4);
    QuickIndex shifted, misplaced;
    for (const auto& [key, offset] : preRead.Entries()) {
      shifted.Set(suite::BlockKey{key}, suite::ByteOffset{offset + 2});
      misplaced.Set(suite::BlockKey{key + 1}, suite::ByteOffset{offset});
    }
    const KeywordMatcher matcher("hit", true, CodePage::Gbk);
    for (const QuickIndex* hints : std::vector<const QuickIndex*>{nullptr, &preRead, &shifted, &misplaced}) {
      for (size_t windowSize : {size_t{1500}, size_t{300000}}) {
        for (int workers = 1; workers <= 3; ++workers) {
          Collector sink;
          QuickIndex index;
          SearchLines(file, matcher, sink, 10000, windowSize, &index, hints, workers);
          ASSERT_EQ(index.Entries(), preRead.Entries())
              << "end of text " << endOfText << " window " << windowSize << " workers " << workers;
        }
      }
    }
  }
}

// A search that starts at a line start, with the count of the lines before
// it, finds what a whole search finds from there on: the same matches, lines
// and text end, and the rest of the index, at any window and worker count.
TEST(LineSearchTest, ASearchFromALineStartGoesOnAsTheWholeSearch) {
  TempDir dir;
  std::mt19937 random(20261210);
  std::string text;
  for (int line = 0; line < 26000; ++line) {
    text.append(random() % 9, 'x');
    if (random() % 40 == 0) text += "hit";
    if (random() % 500 == 0) text.append(5000, 'y');  // longer than the small windows
    text += random() % 2 ? "\r\n" : "\n";
  }
  text += "hit, the last line without LF";
  const std::string path = WriteFile(dir / "g.log", text);
  suite::ExclusiveFile file;
  ASSERT_TRUE(file.Open(path));
  const KeywordMatcher matcher("hit", true, CodePage::Gbk);
  Collector whole;
  QuickIndex wholeIndex;
  const LineSearchResult all = SearchLines(file, matcher, whole, 10000, 4096, &wholeIndex, nullptr, 1);
  ASSERT_EQ(all.linesRead, suite::LineCount{26001});
  ASSERT_EQ(wholeIndex.Size(), 3);

  std::vector<int64_t> lineStarts = {0};  // of line k + 1
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') lineStarts.push_back(static_cast<int64_t>(i) + 1);
  }
  for (const int64_t before : {int64_t{0}, int64_t{1}, int64_t{10000}, int64_t{17777}, int64_t{26000}}) {
    for (size_t windowSize : {size_t{300}, size_t{4096}, size_t{1} << 20}) {
      for (int workers = 1; workers <= 3; ++workers) {
        SCOPED_TRACE("from line " + std::to_string(before + 1) + ", window " + std::to_string(windowSize) +
                     ", workers " + std::to_string(workers));
        // With later entries too, or as an earlier search that ended at the
        // start left it: without the entry of a block starting there.
        QuickIndex index = wholeIndex;
        while (workers == 2 && index.HighestKey() > suite::LastBlock(suite::LineCount{before})) {
          index.Erase(index.HighestKey());
        }
        Collector sink;
        const LineSearchResult result =
            SearchLines(file, matcher, sink, 10000, windowSize, &index, &wholeIndex, workers,
                        {suite::ByteOffset{lineStarts[static_cast<size_t>(before)]}, suite::LineCount{before}});
        Matches expected;
        for (const auto& match : whole.matches) {
          if (match.first > before) expected.push_back(match);
        }
        EXPECT_EQ(sink.matches, expected);
        EXPECT_EQ(result.linesRead, all.linesRead);
        EXPECT_EQ(result.textEnd, all.textEnd);
        EXPECT_EQ(index.Entries(), wholeIndex.Entries());
        // The checkpoints after its start (their match counts are its own).
        std::vector<int64_t> expectedLines, lines;
        for (const auto& checkpoint : whole.checkpoints) {
          if (checkpoint.first > before) expectedLines.push_back(checkpoint.first);
        }
        for (const auto& checkpoint : sink.checkpoints) lines.push_back(checkpoint.first);
        EXPECT_EQ(lines, expectedLines);
      }
    }
  }
}

TEST(LineSearchTest, MatchingRules) {
  TempDir dir;
  const std::string path = WriteFile(dir / "m.log",
                                     "ERROR twice ERROR\r\n"
                                     "an error\r\n"
                                     "Error here\n"
                                     "\xB0\x41\xB0\x41 only\r\n"
                                     "\xB0\x41" "A real A\r\n"
                                     "no\r\n");
  int64_t lines = 0;
  EXPECT_EQ(Fast(path, "ERROR", true, CodePage::Gbk, 4096, &lines), (Matches{{1, "ERROR twice ERROR"}}));
  EXPECT_EQ(Fast(path, "ERROR", false, CodePage::Gbk, 4096, &lines).size(), 3u);
  // "A" only as a trail byte doesn't match; folded, "a" still doesn't match the trail 0x41.
  const Matches capitalA = Fast(path, "A", true, CodePage::Gbk, 4096, &lines);
  ASSERT_EQ(capitalA.size(), 1u);
  EXPECT_EQ(capitalA[0].first, 5);
  const Matches smallA = Fast(path, "a", false, CodePage::Gbk, 4096, &lines);
  ASSERT_EQ(smallA.size(), 2u);
  EXPECT_EQ(smallA[0].first, 2);
  EXPECT_EQ(smallA[1].first, 5);
  // An empty keyword matches every line, empty ones too.
  const std::string withEmpty = WriteFile(dir / "e.log", "a\r\n\r\nb");
  EXPECT_EQ(Fast(withEmpty, "", true, CodePage::Gbk, 2, &lines), (Matches{{1, "a"}, {2, ""}, {3, "b"}}));
}

// A line longer than a window whose CR LF falls at every place against the
// windows' ends: the CR is never the line's, with or without a keyword.
TEST(LineSearchTest, ALongLinesCrLfAtAWindowsEndIsItsLineEnd) {
  TempDir dir;
  for (const std::string keyword : {"", "x"}) {
    for (size_t length = 1; length < 200; ++length) {
      const std::string line(length, 'x');
      const std::string path = WriteFile(dir / "l.log", line + "\r\n" + "y\r\n");
      int64_t lines = 0;
      const Matches expected = keyword.empty() ? Matches{{1, line}, {2, "y"}} : Matches{{1, line}};
      ASSERT_EQ(Fast(path, keyword, true, CodePage::Gbk, 64, &lines), expected) << "[" << keyword << "] " << length;
      ASSERT_EQ(lines, 2);
    }
  }
}

// The line across two windows is first read up to kLineHeadSize, then mapped
// on: a keyword before, astride and after that first piece is found, one
// after a GBK lead byte isn't, and a line no longer than the piece ends in it.
TEST(LineSearchTest, ALineAcrossWindowsIsSearchedWholePastItsFirstRead) {
  TempDir dir;
  const size_t head = suite::kLineHeadSize;
  const size_t window = 3 * head;
  std::string text;
  for (const size_t length : {head - 1, head, head + 1, 2 * head, 5 * head}) {
    for (const size_t at : {size_t{0}, head - 5, head - 2, head + 3, length - 3}) {
      // Each line starts anywhere against the windows: the text before it varies.
      text += std::string(at % 7 + 1, 'p') + "\r\n";
      std::string line(length, 'x');
      const bool holdsKey = at + 3 <= length;
      if (holdsKey) line.replace(at, 3, "KEY");
      std::string trapped = line;
      if (holdsKey && at > 0) trapped[at - 1] = '\xB0';  // K is then a trail byte: no match
      text += trapped + "\r\n" + std::string(length % window, 'z') + "KEY\n" + line + "\n";
    }
  }
  const std::string path = WriteFile(dir / "long.log", text);
  int64_t referenceLines = 0, lines = 0;
  const Matches expected = Reference(path, "KEY", true, CodePage::Gbk, &referenceLines);
  for (const int workers : {1, 2, 3}) {
    ASSERT_EQ(Fast(path, "KEY", true, CodePage::Gbk, window, &lines, nullptr, 10000, workers), expected) << workers;
    ASSERT_EQ(lines, referenceLines);
  }
  EXPECT_GT(expected.size(), 25u);
}

// A matching line longer than a window is read from the file when it is
// handed over: a file cut before that fails the copy and ends the search as
// cut, never with a line of bytes that aren't there.
TEST(LineSearchTest, ALongMatchingLineCutBeforeItsCopyEndsTheSearchAsCut) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows refuses to cut a file while a view of it is mapped, as the search's are";
#endif
  TempDir dir;
  const std::string line = std::string(5000, 'x') + "KEY" + std::string(5000, 'y');
  const std::string path = WriteFile(dir / "long.log", "a\n" + line + "\nKEY\n");
  struct CuttingSink : LineSink {
    std::string path;
    int matches = 0;
    bool copied = true;
    bool OnMatch(suite::LineNumber, const FoundLine& found) override {
      ++matches;
      EXPECT_TRUE(suite::testing::CutFromAnotherProcess(path, 100));
      std::string text(found.Size(), '\0');
      copied = found.CopyTo(text.data());
      return true;
    }
    void OnCheckpoint(suite::LineNumber) override {}
  } sink;
  sink.path = path;
  suite::ExclusiveFile file;
  ASSERT_TRUE(file.Open(path));
  const KeywordMatcher matcher("KEY", true, CodePage::Gbk);
  const LineSearchResult result = SearchLines(file, matcher, sink, 10000, 1024, nullptr, nullptr, suite::ScanWorkers());
  EXPECT_EQ(sink.matches, 1);
  EXPECT_FALSE(sink.copied);
  EXPECT_TRUE(result.readFailed);
  EXPECT_TRUE(result.cut);
}

TEST(LineSearchTest, CheckpointsCountTheMatchesBeforeTheirLine) {
  TempDir dir;
  std::string text;
  for (int i = 1; i <= 25; ++i) text += (i % 10 == 0 || i == 3) ? "hit\r\n" : "line\r\n";
  const std::string path = WriteFile(dir / "c.log", text);
  for (size_t blockSize : {size_t{3}, size_t{4096}}) {
    Collector collector;
    int64_t lines = 0;
    Fast(path, "hit", true, CodePage::Gbk, blockSize, &lines, &collector, 10);
    EXPECT_EQ(lines, 25);
    // Line 10 matches, but its checkpoint counts only lines 1 to 9.
    EXPECT_EQ(collector.checkpoints, (std::vector<std::pair<int64_t, size_t>>{{10, 1}, {20, 2}}));
  }
}

}  // namespace
}  // namespace lorvane
