#include "common/line_reader.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "common/exclusive_file.h"
#include "common/line_scanner.h"
#include "test_support/temp_dir.h"

namespace {

using suite::testing::TempDir;
using suite::testing::WriteFile;

using Lines = std::vector<std::pair<std::string, int64_t>>;  // text, offset

// Every block size puts lines and line ends across block boundaries.
const size_t kBlockSizes[] = {1, 2, 3, 7, 64, 4096};

Lines ReadAll(const std::string& path, size_t blockSize) {
  suite::ExclusiveFile file;
  EXPECT_TRUE(file.Open(path));
  suite::LineReader reader(file, 0, blockSize);
  Lines lines;
  suite::TextLine line;
  while (reader.Next(line)) lines.emplace_back(std::string(line.text), line.offset);
  EXPECT_FALSE(reader.Failed());
  return lines;
}

struct Scan {
  suite::LineScanResult result;
  std::vector<std::pair<int64_t, int64_t>> marks;
};

// Every scan runs with one, two and three workers: every path of the
// pipeline runs on any machine, and all must find the same.
const int kWorkerCounts[] = {1, 2, 3};

Scan ScanAll(const std::string& path, int64_t stride, size_t blockSize, int workers) {
  suite::ExclusiveFile file;
  EXPECT_TRUE(file.Open(path));
  Scan scan;
  scan.result = suite::ScanLineStarts(
      file, stride, [&](suite::LineCount index, suite::ByteOffset offset) { scan.marks.emplace_back(index.value, offset.value); }, 0, blockSize,
      workers);
  return scan;
}

struct ModelCase {
  const char* name;
  std::string bytes;
  Lines expected;
};

TEST(LineModelTest, ReaderAndScannerFollowTheTextModel) {
  const std::vector<ModelCase> cases = {
      {"empty", "", {}},
      {"crlf", "a\r\nbb\r\nccc\r\n", {{"a", 0}, {"bb", 3}, {"ccc", 7}}},
      {"lf", "a\nbb\nccc\n", {{"a", 0}, {"bb", 2}, {"ccc", 5}}},
      {"no final lf", "a\r\nlast", {{"a", 0}, {"last", 3}}},
      {"lone cr stays", "a\rb\r\nc\r", {{"a\rb", 0}, {"c\r", 5}}},
      {"cr cr lf keeps one cr", "x\r\r\n", {{"x\r", 0}}},
      {"empty lines", "\n\r\n\n", {{"", 0}, {"", 1}, {"", 3}}},
      {"0x1a ends the text", "one\r\ntw\x1Ao\r\nthree\r\n", {{"one", 0}, {"tw", 5}}},
      {"0x1a after lf", "one\n\x1Atwo\n", {{"one", 0}}},
      {"0x1a first", "\x1A" "abc\n", {}},
      {"nul bytes are ordinary", std::string("a\0b\nc\0\n", 7), {{std::string("a\0b", 3), 0}, {std::string("c\0", 2), 4}}},
      {"high bytes", "\xB0\x41\n\xFF\n", {{"\xB0\x41", 0}, {"\xFF", 3}}},
  };
  TempDir dir;
  for (const auto& c : cases) {
    const std::string path = WriteFile(dir / "t.txt", c.bytes);
    for (size_t blockSize : kBlockSizes) {
      SCOPED_TRACE(std::string(c.name) + " block " + std::to_string(blockSize));
      EXPECT_EQ(ReadAll(path, blockSize), c.expected);
      for (const int workers : kWorkerCounts) {
        SCOPED_TRACE(workers);
        const Scan scan = ScanAll(path, 1, blockSize, workers);
        EXPECT_EQ(scan.result.lines, static_cast<int64_t>(c.expected.size()));
        std::vector<std::pair<int64_t, int64_t>> starts;
        for (size_t i = 0; i < c.expected.size(); ++i) starts.emplace_back(static_cast<int64_t>(i), c.expected[i].second);
        EXPECT_EQ(scan.marks, starts);
      }
    }
  }
}

TEST(LineModelTest, ScannerReportsEveryNthLineStartWithRealOffsets) {
  TempDir dir;
  std::string bytes;
  std::vector<int64_t> offsets;
  for (int i = 0; i < 1000; ++i) {
    offsets.push_back(static_cast<int64_t>(bytes.size()));
    bytes += std::string(static_cast<size_t>(i % 13), 'x') + (i % 3 ? "\n" : "\r\n");
  }
  const std::string path = WriteFile(dir / "mixed.txt", bytes);
  for (size_t blockSize : kBlockSizes) {
    for (int64_t stride : {1, 7, 10, 999, 1000, 1001}) {
      for (const int workers : kWorkerCounts) {
        // (windows of one and two bytes with threads: thousands of hand-overs
        // a scan; the short cases above run them)
        if (workers > 1 && blockSize < 7) continue;
        SCOPED_TRACE("block " + std::to_string(blockSize) + " stride " + std::to_string(stride) + " workers " +
                     std::to_string(workers));
        const Scan scan = ScanAll(path, stride, blockSize, workers);
        EXPECT_EQ(scan.result.lines, 1000);
        std::vector<std::pair<int64_t, int64_t>> expected;
        for (int64_t line = 0; line < 1000; line += stride) expected.emplace_back(line, offsets[static_cast<size_t>(line)]);
        EXPECT_EQ(scan.marks, expected);
      }
    }
  }
}

TEST(LineModelTest, LongLinesGrowTheBufferOnly) {
  TempDir dir;
  const std::string longLine(3'000'000, 'L');
  const std::string path = WriteFile(dir / "long.txt", "a\r\n" + longLine + "\r\nb");
  const Lines lines = ReadAll(path, 4096);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].first, longLine);
  EXPECT_EQ(lines[1].second, 3);
  EXPECT_EQ(lines[2], (std::pair<std::string, int64_t>{"b", 3 + 3'000'002}));
}

TEST(LineModelTest, ReaderStartsAtAnOffset) {
  TempDir dir;
  const std::string path = WriteFile(dir / "t.txt", "one\r\ntwo\r\nthree");
  suite::ExclusiveFile file;
  ASSERT_TRUE(file.Open(path));
  ASSERT_TRUE(file.Seek(5));
  suite::LineReader reader(file, 5, 3);
  suite::TextLine line;
  ASSERT_TRUE(reader.Next(line));
  EXPECT_EQ(line.text, "two");
  EXPECT_EQ(line.offset, 5);
  ASSERT_TRUE(reader.Next(line));
  EXPECT_EQ(line.text, "three");
  EXPECT_EQ(line.offset, 10);
  EXPECT_FALSE(reader.Next(line));
}

// Lines are copied out as they are handed over: a file cut under the reader's
// window ends the reading, and says so.
TEST(LineModelTest, AFileCutWhileItIsReadEndsTheReading) {
  SUITE_SKIP_ON_WINDOWS("a mapped file can't be cut there (FileWindowWindowsTest)");
  TempDir dir;
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "line " + std::to_string(i) + "\r\n";
  const std::string path = WriteFile(dir / "cut.txt", text);
  suite::ExclusiveFile file;
  ASSERT_TRUE(file.Open(path));
  suite::LineReader reader(file);
  suite::TextLine line;
  ASSERT_TRUE(reader.Next(line));
  EXPECT_EQ(line.text, "line 0");
  ASSERT_TRUE(suite::testing::CutFromAnotherProcess(path, 0));
  EXPECT_FALSE(reader.Next(line));
  EXPECT_TRUE(reader.Failed());
  EXPECT_TRUE(reader.Cut());
  EXPECT_FALSE(reader.Next(line));
}

// A line longer than the window comes whole, or in parts, and a skipped one
// is passed over; a CR at a window's end before an LF is not the line's.
TEST(LineModelTest, LinesLongerThanTheWindowComeWholeOrInParts) {
  TempDir dir;
  const std::string longLine(10000, 'x');
  const std::string path = WriteFile(dir / "long.txt", longLine + "\r\n" + longLine + "\r\nend\r" + "\r\n");
  for (size_t window : {size_t{1}, size_t{7}, size_t{4096}, size_t{10001}}) {
    SCOPED_TRACE(window);
    suite::ExclusiveFile file;
    ASSERT_TRUE(file.Open(path));
    suite::LineReader reader(file, 0, window);
    std::string parts;
    int last = 0;
    ASSERT_TRUE(reader.NextInParts([&](std::string_view part, bool isLast) {
      parts += part;
      last += isLast;
      return true;
    }));
    EXPECT_EQ(parts, longLine);
    EXPECT_EQ(last, 1);
    ASSERT_TRUE(reader.Skip());
    suite::TextLine line;
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line.text, "end\r");
    EXPECT_EQ(line.offset, 2 * 10002);
    EXPECT_FALSE(reader.Next(line));
    EXPECT_FALSE(reader.Failed());
  }
}

TEST(ExclusiveFileTest, OpensOnlyUnheldRegularFiles) {
  TempDir dir;
  const std::string path = WriteFile(dir / "t.log", "abc");
  suite::ExclusiveFile first;
  ASSERT_TRUE(first.Open(path));
  EXPECT_EQ(first.Size(), 3);

  suite::ExclusiveFile second;
  EXPECT_FALSE(second.Open(path));
  EXPECT_EQ(second.LastOpenError(), suite::ExclusiveFile::OpenError::Locked);
  first.Close();
  EXPECT_TRUE(second.Open(path));

  suite::ExclusiveFile other;
  EXPECT_FALSE(other.Open(dir / "missing.log"));
  EXPECT_EQ(other.LastOpenError(), suite::ExclusiveFile::OpenError::Missing);
  EXPECT_FALSE(other.Open(dir.Path()));
  EXPECT_EQ(other.LastOpenError(), suite::ExclusiveFile::OpenError::NotRegular);
#ifndef _WIN32  // no FIFO in a Windows folder
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  EXPECT_FALSE(other.Open(dir / "fifo"));  // must not block
  EXPECT_EQ(other.LastOpenError(), suite::ExclusiveFile::OpenError::NotRegular);
#endif
}

TEST(ExclusiveFileTest, UnreadableFileFailsToOpen) {
  SUITE_SKIP_ON_WINDOWS("no permission bits to take reading away with");
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  TempDir dir;
  const std::string path = WriteFile(dir / "secret.log", "abc");
  ASSERT_EQ(::chmod(path.c_str(), 0), 0);
  suite::ExclusiveFile file;
  EXPECT_FALSE(file.Open(path));
  EXPECT_EQ(file.LastOpenError(), suite::ExclusiveFile::OpenError::Denied);
}

}  // namespace
