// The split through windows of every size, down to one byte, against a plain
// splitter written here from the text model: the same pieces, the same
// reports, the same reads of the piece size.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "common/exclusive_file.h"
#include "common/file_window.h"
#include "common/path_util.h"
#include "split_fixture.h"
#include "common/window_lines.h"

namespace cleavora {
namespace {

using suite::testing::ReadFile;
using testing::NumberedLines;
using Texts = std::vector<std::string>;

// Something a test does when the piece size is read for the nth time.
struct AtRead {
  long read;
  int64_t linesPerPiece;  // 0: asks for a stop instead
};

struct Outcome {
  int result = 0;
  Texts pieces;
  Texts reports;
  long reads = 0;
};

std::string Progress(int64_t lines, int64_t pieces) {
  return "正在分割: 已将前 " + std::to_string(lines) + " 行分割成 " + std::to_string(pieces) + " 个小文件";
}

// LF ends a line, a CR right before it belongs to the line end, 0x1A ends the
// text, a last line without LF counts; each line goes out with CR LF. The
// piece size is read after every line, a stop is seen after the next one or
// at the end.
Outcome Reference(const std::string& source, int64_t linesPerPiece, const std::vector<AtRead>& events) {
  const std::string text = source.substr(0, source.find('\x1A'));
  Outcome out;
  out.pieces = {""};
  int64_t inPiece = 0;
  int64_t total = 0;
  bool stopped = false;
  size_t pos = 0;
  for (size_t lf; (lf = text.find('\n', pos)) != std::string::npos; pos = lf + 1) {
    std::string line = text.substr(pos, lf - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out.pieces.back() += line + "\r\n";
    ++inPiece;
    ++total;
    if (stopped) {
      out.result = -1;
      return out;
    }
    ++out.reads;
    for (const AtRead& event : events) {
      if (event.read != out.reads) continue;
      if (event.linesPerPiece == 0) stopped = true;
      else linesPerPiece = event.linesPerPiece;
    }
    if (inPiece >= linesPerPiece) {
      out.reports.push_back(Progress(total, static_cast<int64_t>(out.pieces.size())));
      out.pieces.emplace_back();
      inPiece = 0;
    }
  }
  if (pos < text.size()) {
    out.pieces.back() += text.substr(pos) + "\r\n";
    ++total;
  }
  if (stopped) {  // asked for after the last line: the split says nothing more
    out.result = -1;
    return out;
  }
  out.reports.push_back("分割成功: 将 " + std::to_string(total) + " 行分割成 " + std::to_string(out.pieces.size()) +
                        " 个小文件");
  return out;
}

Outcome Split(const std::string& source, int64_t linesPerPiece, const std::vector<AtRead>& events, size_t windowSize,
              size_t writeBuffer) {
  suite::testing::TempDir dir;
  SplitState state(dir.Path() + "/");
  testing::RecordingWindow window;
  window.SetFilePath(suite::testing::WriteFile(dir / "source.txt", source));
  window.SetLinesPerPiece(linesPerPiece);
  window.onLinesPerPiece = [&](long read) {
    for (const AtRead& event : events) {
      if (event.read != read) continue;
      if (event.linesPerPiece == 0) state.RequestStop();
      else window.SetLinesPerPiece(event.linesPerPiece);
    }
  };
  Outcome out;
  out.result = RunSplit(window, state, windowSize, writeBuffer);
  for (int64_t i = 0; suite::PathExists(PiecePath(state.LastSplitDirectory(), i)); ++i) {
    out.pieces.push_back(ReadFile(PiecePath(state.LastSplitDirectory(), i)));
  }
  out.reports = window.statusTexts;
  out.reads = window.linesPerPieceReads;
  return out;
}

// Lines of `length` bytes each (the line end included), ended by `end`.
std::string LongLines(int count, size_t length, const std::string& end) {
  std::string text;
  for (int i = 0; i < count; ++i) text += std::string(length - end.size(), static_cast<char>('a' + i % 26)) + end;
  return text;
}

// Lone LFs among CR LFs, empty lines among them, and CRs inside lines.
std::string MixedEnds(int count) {
  static const char* const kLines[] = {"x\r\n", "yy\n", "\r\n", "\n", "z\rz\r\n", "abc\n", "\r\r\n"};
  std::string text;
  for (int i = 0; i < count; ++i) text += kLines[i % 7];
  return text;
}

TEST(SplitContentTest, EveryWindowSizeGivesTheReferencePiecesReportsAndReads) {
  struct Case {
    const char* name;
    std::string source;
  };
  // 24 bytes before the 0x1A: it starts a window of 1, 2, 3, 4 or 8 bytes;
  // with 23 it ends one.
  const std::string twentyFour = "ab\r\ncd\nef\r\ngh\nij\r\nkl\r\n";
  const Case cases[] = {
      {"LF lines", NumberedLines(1, 60)},
      {"CR LF lines", NumberedLines(1, 60, "\r\n")},
      {"lone LFs among CR LFs", MixedEnds(80)},
      {"lines longer than a window", LongLines(12, 37, "\r\n") + LongLines(5, 70, "\n")},
      {"0x1A starting a window", twentyFour + "\x1A" "after\n"},
      {"0x1A ending a window", twentyFour.substr(0, 23) + "\x1A" "after\n"},
      {"0x1A after a CR", "a\r\nb\r\x1A\n"},
      {"0x1A first", "\x1A" "a\n"},
      {"last line without LF", MixedEnds(20) + "tail"},
      {"last line ends in CR", MixedEnds(20) + "tail\r"},
      {"LF first", "\n\nx\r\n\n"},
      {"empty", ""},
  };
  struct Run {
    int64_t linesPerPiece;
    std::vector<AtRead> events;
  };
  const Run runs[] = {
      {1, {}},
      {3, {}},
      {1000, {}},
      {4, {{5, 2}}},              // smaller, the piece not yet that full
      {5, {{9, 2}}},              // smaller than the piece already holds
      {2, {{3, 7}}},              // larger
      {3, {{7, 0}}},              // a stop
      {100, {{4, 1}, {6, 0}}},    // a stop in a piece after one of a single line
  };
  const std::pair<size_t, size_t> buffers[] = {{1, 7}, {2, 7}, {3, 16}, {5, 7}, {8, 64}, {64, 16}, {4096, 4096}};
  for (const Case& c : cases) {
    for (const Run& run : runs) {
      const Outcome expected = Reference(c.source, run.linesPerPiece, run.events);
      for (const auto& [windowSize, writeBuffer] : buffers) {
        const Outcome got = Split(c.source, run.linesPerPiece, run.events, windowSize, writeBuffer);
        const std::string where = std::string(c.name) + ", " + std::to_string(run.linesPerPiece) + " lines, " +
                                  std::to_string(run.events.size()) + " events, window " + std::to_string(windowSize);
        EXPECT_EQ(got.result, expected.result) << where;
        EXPECT_EQ(got.pieces, expected.pieces) << where;
        EXPECT_EQ(got.reports, expected.reports) << where;
        EXPECT_EQ(got.reads, expected.reads) << where;
      }
    }
  }
}

// Windows of thousands of lines: a piece ends between the LFs a window's
// count noted, and the piece written as it is read goes out in parts.
TEST(SplitContentTest, PiecesEndingAmongManyLinesOfAWindowMatchTheReference) {
  std::string source;
  for (int i = 0; i < 6000; ++i) source += i % 5 == 0 ? "\n" : (i % 3 == 0 ? "k\r\n" : "\r\n");
  source += "end";
  const std::vector<AtRead> none;
  for (const int64_t linesPerPiece : {255, 256, 257, 700, 2500}) {
    const Outcome expected = Reference(source, linesPerPiece, none);
    for (const size_t windowSize : {size_t{4096}, size_t{65536}, suite::kMapWindowSize}) {
      const Outcome got = Split(source, linesPerPiece, none, windowSize, 512);
      EXPECT_EQ(got.pieces, expected.pieces) << linesPerPiece << ", window " << windowSize;
      EXPECT_EQ(got.reports, expected.reports) << linesPerPiece << ", window " << windowSize;
    }
  }
  const std::vector<AtRead> stop{{1500, 0}};
  const Outcome expected = Reference(source, 400, stop);
  const Outcome got = Split(source, 400, stop, 4096, 512);
  EXPECT_EQ(got.result, -1);
  EXPECT_EQ(got.pieces, expected.pieces);
  EXPECT_EQ(got.reports, expected.reports);
}

// A worker's findings in one window, against a byte-by-byte look at it: the
// noted LFs, where the text ends, and which LFs need a CR.
TEST(SplitContentTest, AWindowsLineEndsAreThoseOfItsBytes) {
  suite::testing::TempDir dir;
  std::mt19937 random(7);
  const char alphabet[] = {'\n', '\n', '\n', '\r', 'a', 'b', '\x1A'};
  for (int round = 0; round < 40; ++round) {
    std::string bytes(1 + random() % 3000, 'x');
    for (char& byte : bytes) byte = alphabet[random() % (round % 2 ? 7 : 6)];  // every other one without 0x1A
    suite::ExclusiveFile file;
    ASSERT_TRUE(file.Open(suite::testing::WriteFile(dir / ("w" + std::to_string(round)), bytes)));
    for (const size_t offset : {size_t{0}, size_t{1}, bytes.size() / 2}) {
      const size_t capacity = 100 + random() % 2000;
      suite::WindowLines lines(file, capacity);
      lines.Scan(static_cast<int64_t>(offset), true);
      ASSERT_FALSE(lines.readFailed);
      const std::string seen = bytes.substr(offset, capacity);
      const size_t textSize = std::min(seen.find('\x1A'), seen.size());
      EXPECT_EQ(lines.size, seen.size());
      EXPECT_EQ(lines.textSize, textSize);
      EXPECT_EQ(lines.endOfText, textSize < seen.size());
      std::vector<size_t> lfs;
      bool lone = false;
      for (size_t i = 0; i < textSize; ++i) {
        if (seen[i] != '\n') continue;
        lfs.push_back(i);
        if (i > 0 && seen[i - 1] != '\r') lone = true;
      }
      ASSERT_EQ(lines.newlines, lfs.size()) << round;
      EXPECT_EQ(lines.loneLf, lone) << round;
      EXPECT_EQ(lines.lfFirst, textSize > 0 && seen[0] == '\n') << round;
      for (size_t n = 1; n <= lfs.size(); n += 1 + n / 7) {
        size_t at = 0;
        ASSERT_TRUE(lines.FindLf(n, at));
        EXPECT_EQ(at, lfs[n - 1]) << round << ", LF " << n;
      }
    }
  }
}

}  // namespace
}  // namespace cleavora
