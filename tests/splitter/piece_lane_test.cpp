// A lane writing a piece on its own thread, reading the source itself.
#include <gtest/gtest.h>

#include <string>

#include "common/exclusive_file.h"
#include "splitter/piece_lane.h"
#include "test_support/temp_dir.h"

namespace cleavora {
namespace {

using Outcome = PieceLane::Outcome;
using suite::testing::ReadFile;
using suite::testing::WriteFile;

// The piece of source bytes from a line's start: a CR before every LF alone.
std::string WithCrs(const std::string& bytes) {
  std::string piece;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) piece += '\r';
    piece += bytes[i];
  }
  return piece;
}

// Reads of 7 bytes end anywhere, between a CR and its LF too; a 16 KiB
// buffer's first write (and read) is a page short, the later ones whole.
TEST(PieceLaneTest, APieceReadOnTheLanesThreadIsItsSourceBytesWithCrLfs) {
  suite::testing::TempDir dir;
  std::string source;
  for (int i = 0; i < 9000; ++i) source += std::to_string(i) + (i % 3 == 0 ? "\n" : "\r\n");
  suite::ExclusiveFile file;
  ASSERT_TRUE(file.Open(WriteFile(dir / "source.txt", source)));
  const size_t middle = source.find("\n4501\r\n") + 1;
  const std::string piece = dir / "piece.txt";
  for (const size_t buffer : {size_t{7}, size_t{16384}}) {
    PieceLane lane(file, buffer);
    for (const auto& [start, end] : {std::pair<size_t, size_t>{0, source.size()}, {middle, source.size() - 3}}) {
      const std::string bytes = source.substr(start, end - start);
      for (const bool closeLine : {false, true}) {
        ASSERT_TRUE(lane.Create(piece));
        lane.Start(static_cast<int64_t>(start), static_cast<int64_t>(end), true, closeLine);
        EXPECT_EQ(lane.Wait(), Outcome::kWritten);
        EXPECT_EQ(ReadFile(piece), WithCrs(bytes) + (closeLine ? "\r\n" : "")) << buffer << ", " << start;
      }
      // Told that none is alone, the lane copies the bytes as they are.
      ASSERT_TRUE(lane.Create(piece));
      lane.Start(static_cast<int64_t>(start), static_cast<int64_t>(end), false, false);
      EXPECT_EQ(lane.Wait(), Outcome::kWritten);
      EXPECT_EQ(ReadFile(piece), bytes) << buffer << ", " << start;
    }
  }
}

// Lines the split found that the file no longer holds (cut meanwhile) make a
// cut piece, whether some of them are left or none; a source that can't be
// read (the process's own memory at address 0) a read failure.
TEST(PieceLaneTest, APieceWhoseLinesAreGoneIsCutAndOneThatCantBeReadFailed) {
  suite::testing::TempDir dir;
  suite::ExclusiveFile file;
  ASSERT_TRUE(file.Open(WriteFile(dir / "source.txt", std::string(1000, 'x'))));
  PieceLane lane(file, 64);
  for (const int64_t start : {500, 1000, 1200}) {
    ASSERT_TRUE(lane.Create(dir / "piece.txt"));
    lane.Start(start, 2000, false, false);
    EXPECT_EQ(lane.Wait(), Outcome::kCut) << start;
  }
  suite::ExclusiveFile memory;
  ASSERT_TRUE(memory.Open("/proc/self/mem"));
  PieceLane unreadable(memory, 64);
  ASSERT_TRUE(unreadable.Create(dir / "piece.txt"));
  unreadable.Start(0, 100, false, false);
  EXPECT_EQ(unreadable.Wait(), Outcome::kReadFailed);
}

}  // namespace
}  // namespace cleavora
