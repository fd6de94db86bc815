#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/path_util.h"
#include "splitter/cleavora_actions.h"
#include "split_fixture.h"

namespace cleavora {
namespace {

using suite::Cp;
using suite::testing::ReadFile;
using testing::NumberedLines;
using testing::SplitFixture;
using Texts = std::vector<std::string>;

using SplitTest = SplitFixture;

// Each source in every line-end style, split once with the real buffers and
// once with tiny ones, so that lines straddle read blocks and outgrow the
// write buffer.
TEST(SplitContentTest, PiecesHoldTheLinesUnchangedWithCrLf) {
  struct Case {
    const char* name;
    std::string source;
    int64_t linesPerPiece;
    Texts pieces;
  };
  const Case cases[] = {
      {"CR LF", "a\r\nbb\r\nccc\r\n", 2, {"a\r\nbb\r\n", "ccc\r\n"}},
      {"LF", "a\nbb\nccc\n", 2, {"a\r\nbb\r\n", "ccc\r\n"}},
      {"lone CR stays in the line", "a\rb\r\nc\r", 5, {"a\rb\r\nc\r\r\n"}},
      {"0x1A ends the text", "a\nb\x1A" "c\nd\n", 5, {"a\r\nb\r\n"}},
      {"last line without LF", "one\ntwo", 5, {"one\r\ntwo\r\n"}},
      {"empty lines", "\n\r\n\n", 2, {"\r\n\r\n", "\r\n"}},
      {"GBK and NUL bytes pass unchanged", std::string("\xD6\xD0\xCE\xC4\0x\n", 7), 5,
       {std::string("\xD6\xD0\xCE\xC4\0x\r\n", 8)}},
      {"a line longer than every buffer", std::string(100, 'x') + "\ny\n", 1,
       {std::string(100, 'x') + "\r\n", "y\r\n", ""}},
  };
  const std::pair<size_t, size_t> buffers[] = {{suite::kMapWindowSize, suite::kWriteBlockSize}, {3, 4}};
  for (const Case& c : cases) {
    for (const auto& [readBlock, writeBuffer] : buffers) {
      suite::testing::TempDir dir;
      SplitState state(dir.Path() + "/");
      testing::RecordingWindow window;
      window.SetFilePath(suite::testing::WriteFile(dir / "source.txt", c.source));
      window.SetLinesPerPiece(c.linesPerPiece);
      ASSERT_EQ(RunSplit(window, state, readBlock, writeBuffer), 0) << c.name;

      Texts pieces;
      for (size_t i = 0; i < c.pieces.size() + 1; ++i) {
        const std::string path = PiecePath(state.LastSplitDirectory(), static_cast<int64_t>(i));
        if (suite::PathExists(path)) pieces.push_back(ReadFile(path));
      }
      EXPECT_EQ(pieces, c.pieces) << c.name << ", write buffer " << writeBuffer;
      EXPECT_EQ(ReadFile(dir / "source.txt"), c.source) << c.name;
    }
  }
}

TEST_F(SplitTest, EmptySourceGivesOneEmptyPiece) {
  EXPECT_EQ(SplitFile(WriteSource(""), 3), 0);
  EXPECT_EQ(PieceNames(), Texts{"000000000.txt"});
  EXPECT_EQ(Pieces(), Texts{""});
  EXPECT_EQ(window.statusTexts, Texts{"分割成功: 将 0 行分割成 1 个小文件"});
}

TEST_F(SplitTest, WholeMultipleOfThePieceSizeEndsWithAnEmptyPiece) {
  EXPECT_EQ(SplitFile(WriteSource(NumberedLines(1, 6)), 3), 0);
  EXPECT_EQ(PieceNames(), (Texts{"000000000.txt", "000000001.txt", "000000002.txt"}));
  EXPECT_EQ(Pieces(), (Texts{"1\r\n2\r\n3\r\n", "4\r\n5\r\n6\r\n", ""}));
  EXPECT_EQ(window.statusTexts, (Texts{"正在分割: 已将前 3 行分割成 1 个小文件", "正在分割: 已将前 6 行分割成 2 个小文件",
                                       "分割成功: 将 6 行分割成 3 个小文件"}));
}

TEST_F(SplitTest, OneLineOverThePieceSizeReportsInOrderAndEnablesInputLast) {
  const std::string source = WriteSource(NumberedLines(1, 4));
  EXPECT_EQ(SplitFile(source, 3), 0);
  EXPECT_EQ(Pieces(), (Texts{"1\r\n2\r\n3\r\n", "4\r\n"}));
  EXPECT_EQ(window.calls, (Texts{
                              "ShowStatusLine(" + Cp("开始分割......") + ")",
                              "SetStatusText(" + Cp("正在分割: 已将前 3 行分割成 1 个小文件") + ")",
                              "ShowForm()",
                              "SetStatusText(" + Cp("分割成功: 将 4 行分割成 2 个小文件") + ")",
                              "ShowForm()",
                              "EnableInput(1)",
                          }));
  EXPECT_EQ(window.StatusLine(), "分割成功: 将 4 行分割成 2 个小文件");

  // The split directory: the work directory and a time stamp, remembered for
  // "打开目录" and never taken over by the next split.
  const std::string first = state.LastSplitDirectory();
  const std::string workPrefix = ProgramDirectory() + "__Cleavora__/";
  ASSERT_EQ(first.compare(0, workPrefix.size(), workPrefix), 0) << first;
  EXPECT_EQ(first.size() - workPrefix.size(), 15u);
  EXPECT_EQ(SplitFile(source, 3), 0);
  EXPECT_NE(state.LastSplitDirectory(), first);
  EXPECT_EQ(ReadFile(PiecePath(first, 1)), "4\r\n");
  EXPECT_EQ(Pieces(), (Texts{"1\r\n2\r\n3\r\n", "4\r\n"}));
}

// The worker asks for the piece size after every line: a new value closes the
// current piece as soon as it holds at least that many lines.
TEST_F(SplitTest, PieceSizeChangedDuringTheSplitTakesEffectAtOnce) {
  const std::string source = WriteSource(NumberedLines(1, 12));
  // Smaller, while the piece holds fewer lines than the new size: 4, then 2s.
  window.onLinesPerPiece = [&](long line) { if (line == 5) window.SetLinesPerPiece(2); };
  EXPECT_EQ(SplitFile(source, 4), 0);
  EXPECT_EQ(Pieces(), (Texts{NumberedLines(1, 4, "\r\n"), NumberedLines(5, 6, "\r\n"), NumberedLines(7, 8, "\r\n"),
                             NumberedLines(9, 10, "\r\n"), NumberedLines(11, 12, "\r\n"), ""}));

  // Smaller than the piece already holds: it closes after the next line.
  window.onLinesPerPiece = [&](long line) { if (line == 9) window.SetLinesPerPiece(2); };
  EXPECT_EQ(SplitFile(source, 5), 0);
  EXPECT_EQ(Pieces(), (Texts{NumberedLines(1, 5, "\r\n"), NumberedLines(6, 9, "\r\n"), NumberedLines(10, 11, "\r\n"),
                             NumberedLines(12, 12, "\r\n")}));
  EXPECT_EQ(window.statusTexts.back(), "分割成功: 将 12 行分割成 4 个小文件");

  // Larger: the current piece grows to the new size.
  window.onLinesPerPiece = [&](long line) { if (line == 3) window.SetLinesPerPiece(7); };
  EXPECT_EQ(SplitFile(source, 2), 0);
  EXPECT_EQ(Pieces(), (Texts{NumberedLines(1, 2, "\r\n"), NumberedLines(3, 9, "\r\n"), NumberedLines(10, 12, "\r\n")}));
}

// Apply while a split runs: a piece size in range reaches the worker at once;
// the next progress report then shows it in the piece-size field.
TEST_F(SplitTest, ApplyDuringTheSplitReachesTheWorker) {
  const std::string source = WriteSource(NumberedLines(1, 25000));
  window.onLinesPerPiece = [&](long line) {
    if (line != 15000) return;
    window.Fields().linesPerPiece = "10000";
    OnBtnApply(window, state);
  };
  EXPECT_EQ(SplitFile(source, 20000), 0);
  EXPECT_EQ(window.statusTexts, (Texts{"新参数设置成功! 将每 10000 行分割成一个小文件。",
                                       "正在分割: 已将前 15000 行分割成 1 个小文件",
                                       "正在分割: 已将前 25000 行分割成 2 个小文件",
                                       "分割成功: 将 25000 行分割成 3 个小文件"}));
  EXPECT_EQ(Pieces(), (Texts{NumberedLines(1, 15000, "\r\n"), NumberedLines(15001, 25000, "\r\n"), ""}));
  EXPECT_EQ(window.Fields().linesPerPiece, "10000");
}

// With windows smaller than the pieces, every other piece is written by the
// second lane while the next one is split (on machines with two cores): the
// pieces and the reports are those of a split through one big window, lone
// LFs in some pieces and not in others, a last line without LF included.
TEST_F(SplitTest, PiecesWrittenAlongsideTheSplitAreTheSameInTheSameOrder) {
  std::string source;
  for (int i = 1; i <= 3000; ++i) source += std::to_string(i) + (i % 700 < 350 ? "\r\n" : "\n");
  source += "last";
  const std::string path = WriteSource(source);
  for (const int64_t linesPerPiece : {7, 100, 1000}) {
    ASSERT_EQ(SplitFile(path, linesPerPiece), 0);
    const Texts pieces = Pieces();
    const Texts reports = window.statusTexts;
    for (const size_t windowSize : {64, 4096}) {
      ASSERT_EQ(SplitFile(path, linesPerPiece, windowSize, 16), 0) << linesPerPiece << ", " << windowSize;
      EXPECT_EQ(Pieces(), pieces) << linesPerPiece << ", " << windowSize;
      EXPECT_EQ(window.statusTexts, reports) << linesPerPiece << ", " << windowSize;
      EXPECT_EQ(window.linesPerPieceReads, 3000) << linesPerPiece << ", " << windowSize;
    }
  }
}

// A stop while a piece is only counted, for the second lane to write: what
// was read is in it, and nothing is said.
TEST_F(SplitTest, AStopWhileAPieceIsCountedForTheSecondLaneKeepsWhatWasRead) {
  const std::string source = WriteSource(NumberedLines(1, 400));
  window.onLinesPerPiece = [&](long line) { if (line == 150) state.RequestStop(); };
  EXPECT_EQ(SplitFile(source, 100, 64, 16), -1);
  EXPECT_EQ(window.calls, (Texts{"ShowStatusLine(" + Cp("开始分割......") + ")",
                                 "SetStatusText(" + Cp("正在分割: 已将前 100 行分割成 1 个小文件") + ")", "ShowForm()"}));
  EXPECT_EQ(Pieces(), (Texts{NumberedLines(1, 100, "\r\n"), NumberedLines(101, 151, "\r\n")}));
}

// A stop while the second lane may still be writing the piece before: that
// piece is finished (its lines were read before the stop), so every piece
// ends with a whole line and together they are the source's first lines.
TEST_F(SplitTest, AStopLeavesEveryPieceWithWholeLines) {
  const std::string source = WriteSource(NumberedLines(1, 4000));
  const std::string whole = NumberedLines(1, 4000, "\r\n");
  for (const long stopAt : {1050L, 1999L, 2001L, 3500L}) {
    SplitState stopped(ProgramDirectory());  // a stop stays asked for: one state each
    window.SetFilePath(source);
    window.SetLinesPerPiece(1000);
    window.linesPerPieceReads = 0;
    window.onLinesPerPiece = [&](long line) { if (line == stopAt) stopped.RequestStop(); };
    EXPECT_EQ(RunSplit(window, stopped, 64, 16), -1);
    std::string joined;
    for (int64_t i = 0; suite::PathExists(PiecePath(stopped.LastSplitDirectory(), i)); ++i) {
      const std::string piece = ReadFile(PiecePath(stopped.LastSplitDirectory(), i));
      EXPECT_TRUE(piece.empty() || (piece.size() >= 2 && piece.compare(piece.size() - 2, 2, "\r\n") == 0))
          << stopAt << ", piece " << i;
      joined += piece;
    }
    EXPECT_GE(joined.size(), NumberedLines(1, 1000, "\r\n").size()) << stopAt;
    EXPECT_EQ(whole.compare(0, joined.size(), joined), 0) << stopAt;
  }
}

TEST_F(SplitTest, StopEndsTheSplitWithoutAWordToTheWindow) {
  const std::string source = WriteSource(NumberedLines(1, 10));
  window.onLinesPerPiece = [&](long line) { if (line == 1) state.RequestStop(); };
  EXPECT_EQ(SplitFile(source, 2), -1);
  EXPECT_EQ(window.calls, Texts{"ShowStatusLine(" + Cp("开始分割......") + ")"});
  // What was read before the stop is in the piece.
  EXPECT_EQ(Pieces(), (Texts{"1\r\n2\r\n"}));

  // A split asked to start after the stop does nothing at all.
  EXPECT_EQ(SplitFile(source, 2), -1);
  EXPECT_TRUE(window.calls.empty());
}

}  // namespace
}  // namespace cleavora
