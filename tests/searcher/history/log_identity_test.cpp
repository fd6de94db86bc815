// What a history knows of its log, and how a log is told the same, grown, cut
// or replaced.
#include "searcher/history/log_identity.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "common/exclusive_file.h"
#include "test_support/temp_dir.h"

namespace lorvane {
namespace {

using suite::testing::ReadFile;
using suite::testing::TempDir;
using suite::testing::WriteFile;

void Append(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

// The identity of the log at `path` as a search that read it whole left it.
LogIdentity Measured(const std::string& path, int64_t lines) {
  suite::ExclusiveFile log;
  EXPECT_TRUE(log.OpenShared(path));
  LogIdentity identity;
  EXPECT_TRUE(MeasureLogIdentity(log, suite::ByteOffset{log.Size()}, suite::LineCount{lines}, &identity));
  return identity;
}

TEST(LogIdentityTest, ItsFileReadsBackAsWrittenAndADamagedOneTellsNothing) {
  TempDir dir;
  LogIdentity identity;
  identity.device = 2049;
  identity.inode = 1234567;
  identity.size = 5000;
  identity.stop = suite::ByteOffset{4990};
  identity.lines = suite::LineCount{77};
  identity.lastLineEnded = false;
  identity.headHash = 0xfedcba9876543210ull;
  identity.tailHash = 1;
  ASSERT_TRUE(WriteLogIdentity(dir.Path(), identity));
  EXPECT_EQ(ReadLogIdentity(dir.Path()), identity);
  const std::string text = ReadFile(dir / kIdentityFileName);

  EXPECT_EQ(ReadLogIdentity((dir / "none")), std::nullopt);  // a history from before
  for (const std::string& damaged : {
           text.substr(0, text.size() / 2),                  // cut short
           "x" + text,                                        // a name it doesn't know
           std::string(text).replace(text.find("=77"), 3, "=-1"),  // not a count
           std::string(text).replace(text.find("=4990"), 5, "=6000"),  // stopped past the size
           std::string(text).replace(text.find("=fedc"), 5, "=FEDC"),  // not how it writes hashes
           std::string(text).replace(text.find("=5000"), 5, "=99999999999999999999"),
       }) {
    WriteFile(dir / kIdentityFileName, damaged);
    EXPECT_EQ(ReadLogIdentity(dir.Path()), std::nullopt) << damaged;
  }
  WriteFile(dir / kIdentityFileName, text + std::string(2000, '\n'));  // longer than any
  EXPECT_EQ(ReadLogIdentity(dir.Path()), std::nullopt);
}

// The hashes are FNV-1a of 64 bits, as identities written before hold them:
// another hash would take every history's log for a replaced one.
TEST(LogIdentityTest, ItsHashesAreFnv1aOfTheFirstBytesAndThoseBeforeTheStop) {
  TempDir dir;
  EXPECT_EQ(Measured(WriteFile(dir / "short.log", "foobar"), 1).headHash, 0x85944171f73967e8ull);
  EXPECT_EQ(Measured(dir / "short.log", 1).tailHash, 0x85944171f73967e8ull);
  const auto fnv1a = [](std::string_view bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (const char byte : bytes) hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ull;
    return hash;
  };
  std::string text;
  for (int i = 0; text.size() < 200000; ++i) text += "line " + std::to_string(i) + "\r\n";
  const LogIdentity identity = Measured(WriteFile(dir / "long.log", text), 0);
  const auto span = static_cast<size_t>(kIdentityHashSpan);
  EXPECT_EQ(identity.headHash, fnv1a(std::string_view(text).substr(0, span)));
  EXPECT_EQ(identity.tailHash, fnv1a(std::string_view(text).substr(text.size() - span)));
}

TEST(LogIdentityTest, TheLogIsToldSameGrownCutOrReplaced) {
  TempDir dir;
  const std::string path = dir / "app.log";
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i) + "\r\n";  // over two hash spans
  WriteFile(path, text + "partial");
  const LogIdentity kept = Measured(path, 20001);
  EXPECT_FALSE(kept.lastLineEnded);
  EXPECT_NE(kept.headHash, kept.tailHash);

  LogIdentity now;
  EXPECT_EQ(CompareLog(kept, path, &now), LogChange::kSame);
  EXPECT_EQ(now, kept);
  // The partial last line completed, and more lines.
  Append(path, " done\r\nnext\r\n");
  EXPECT_EQ(CompareLog(kept, path), LogChange::kGrown);
  // Lines appended while the search read it: larger than where it stopped
  // when it was measured, and grown from there.
  LogIdentity whileRead;
  {
    suite::ExclusiveFile log;
    ASSERT_TRUE(log.OpenShared(path));
    ASSERT_TRUE(MeasureLogIdentity(log, kept.stop, kept.lines, &whileRead));
  }
  EXPECT_GT(whileRead.size, whileRead.stop.value);
  EXPECT_EQ(CompareLog(whileRead, path), LogChange::kGrown);
  // copytruncate: the same file, emptied and written again.
  WriteFile(path, text.substr(0, 100));
  EXPECT_EQ(CompareLog(kept, path), LogChange::kCut);
  // Cut and grown past where the search stopped: its bytes before the stop changed.
  WriteFile(path, text.substr(0, text.size() - 10) + "0123456789partial and more");
  EXPECT_EQ(CompareLog(kept, path), LogChange::kCut);
  // ... or written again from its head on, in place (a copy over it).
  WriteFile(path, "another head\r\n" + text + "partial and more");
  EXPECT_EQ(CompareLog(kept, path), LogChange::kCut);
  // Rotated: the log renamed away and a new one at the name.
  WriteFile(path, text + "partial");
  const LogIdentity again = Measured(path, 20001);
  ASSERT_EQ(std::rename(path.c_str(), (dir / "app.log.1").c_str()), 0);
  WriteFile(path, "a new log\r\n" + text);
  EXPECT_EQ(CompareLog(again, path), LogChange::kReplaced);
  // Another file with the same bytes (a copy put back) shows the same lines.
  ASSERT_EQ(std::remove(path.c_str()), 0);
  WriteFile(path, text + "partial");
  EXPECT_EQ(CompareLog(again, path), LogChange::kSame);
  ASSERT_EQ(std::remove(path.c_str()), 0);
  EXPECT_EQ(CompareLog(again, path), LogChange::kUnreadable);
}

TEST(LogIdentityTest, AnEmptyLogAndOneThatEndsAtItsText) {
  TempDir dir;
  const std::string path = WriteFile(dir / "empty.log", "");
  const LogIdentity empty = Measured(path, 0);
  EXPECT_TRUE(empty.lastLineEnded);
  EXPECT_EQ(CompareLog(empty, path), LogChange::kSame);
  Append(path, "first\n");
  EXPECT_EQ(CompareLog(empty, path), LogChange::kGrown);

  // A search stops at a 0x1A: bytes after it aren't its text.
  const std::string ended = WriteFile(dir / "ended.log", "a\r\nb\x1A tail");
  suite::ExclusiveFile log;
  ASSERT_TRUE(log.OpenShared(ended));
  LogIdentity identity;
  ASSERT_TRUE(MeasureLogIdentity(log, suite::ByteOffset{4}, suite::LineCount{2}, &identity));
  EXPECT_FALSE(identity.lastLineEnded);
  EXPECT_EQ(identity.size, 10);
  EXPECT_EQ(CompareLog(identity, ended), LogChange::kSame);
  // Past its size it can't be measured.
  EXPECT_FALSE(MeasureLogIdentity(log, suite::ByteOffset{11}, suite::LineCount{2}, &identity));
  // ... nor bytes appended after them: a search of it now reads what it read.
  Append(ended, "more\n");
  EXPECT_EQ(CompareLog(identity, ended), LogChange::kSame);
}

}  // namespace
}  // namespace lorvane
