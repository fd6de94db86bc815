#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "common/output_file.h"
#include "test_support/temp_dir.h"

namespace {

using suite::testing::ReadFile;
using suite::testing::TempDir;

// Bytes that differ from one position to the next, so a dropped or doubled
// block shows.
std::string Pattern(size_t length, char salt) {
  std::string bytes(length, '\0');
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>('a' + (i * 7 + i / 4096 + salt) % 26);
  return bytes;
}

// Appends of many sizes, across the short first write and whole buffers, in
// two files in turn through one buffer: each file holds exactly its bytes.
TEST(OutputFileTest, FilesHoldEveryByteAcrossBuffers) {
  TempDir dir;
  for (const size_t bufferSize : {size_t{5}, size_t{4096}, size_t{65536}, size_t{131072}}) {
    suite::OutputFile file(bufferSize);
    for (const char salt : {'0', '1'}) {
      const std::string expected = Pattern(3 * bufferSize + 70001, salt);
      const std::string path = dir / ("piece" + std::to_string(salt));
      ASSERT_TRUE(file.Create(path));
      size_t at = 0;
      for (size_t step = 1; at < expected.size(); step = step * 3 + 1) {
        const size_t length = std::min(step % (2 * bufferSize + 3), expected.size() - at);
        ASSERT_TRUE(file.Append(std::string_view(expected).substr(at, length)));
        at += length;
      }
      ASSERT_TRUE(file.Close());
      EXPECT_EQ(ReadFile(path), expected) << "buffer " << bufferSize << ", file " << salt;
    }
  }
}

TEST(OutputFileTest, CreateTruncatesAndCreateNewRefusesAnExistingFile) {
  TempDir dir;
  const std::string path = suite::testing::WriteFile(dir / "old.txt", "old content that is long");
  suite::OutputFile file(8);
  ASSERT_TRUE(file.Create(path));
  ASSERT_TRUE(file.AppendLine("new"));
  ASSERT_TRUE(file.Close());
  EXPECT_EQ(ReadFile(path), "new\r\n");

  bool existed = false;
  EXPECT_FALSE(file.CreateNew(path, &existed));
  EXPECT_TRUE(existed);
  EXPECT_FALSE(file.CreateNew(dir / "missing-dir/x.txt", &existed));
  EXPECT_FALSE(existed);
}

// A full disk is reported by the write that meets it and by Close, never
// taken for a whole file.
TEST(OutputFileTest, AFullDiskFailsTheWriteAndTheClose) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full here";
  suite::OutputFile file(65536);
  ASSERT_TRUE(file.Create("/dev/full"));
  EXPECT_TRUE(file.Append("buffered, not yet written"));
  EXPECT_FALSE(file.Append(Pattern(200000, 'x')));
  EXPECT_TRUE(file.Failed());
  EXPECT_FALSE(file.Append("more"));
  EXPECT_FALSE(file.Close());

  ASSERT_TRUE(file.Create("/dev/full"));
  EXPECT_TRUE(file.Append("small"));
  EXPECT_FALSE(file.Close()) << "the last write happens in Close";
}

}  // namespace

// A file given up at its last mark keeps the marked units whole, whether what
// follows them is buffered or already written, and small or large units.
TEST(OutputFileTest, AFileClosedAtItsMarkKeepsWholeUnits) {
  TempDir dir;
  const std::string path = dir / "records";
  for (const size_t unit : {size_t{7}, size_t{5000}, size_t{40000}}) {
    suite::OutputFile file(16384);
    ASSERT_TRUE(file.Create(path));
    const std::string units = Pattern(3 * unit, 'm');
    for (int i = 0; i < 3; ++i) {
      ASSERT_TRUE(file.Append(std::string_view(units).substr(i * unit, unit)));
      file.Mark();
    }
    ASSERT_TRUE(file.Append(std::string_view(units).substr(0, unit / 2 + 1)));  // half a unit more
    EXPECT_EQ(file.CloseAtMark(), 3) << "unit " << unit;
    EXPECT_FALSE(file.Failed());
    EXPECT_EQ(ReadFile(path), units) << "unit " << unit;
  }
}

// A write that fails part-way keeps the units that reached the disk whole.
TEST(OutputFileTest, AFailedWriteKeepsTheUnitsThatReachedTheFile) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full here";
  suite::OutputFile file(4096);
  ASSERT_TRUE(file.Create("/dev/full"));
  file.Append("record\r\n");
  file.Mark();
  EXPECT_EQ(file.CloseAtMark(), 0);
  EXPECT_TRUE(file.Failed());
}

namespace {

// Lines copied out of a log are the user's alone, whatever the umask, also
// where an older file of the name could be read by others.
TEST(OutputFileTest, FilesAreReadableByTheUserAlone) {
  SUITE_SKIP_ON_WINDOWS("a file's access there comes from its folder, not permission bits");
#ifndef _WIN32
  TempDir dir;
  const mode_t old = ::umask(0);
  suite::OutputFile file;
  ASSERT_TRUE(file.Create(dir / "new.txt"));
  ASSERT_TRUE(file.Close());
  const std::string older = suite::testing::WriteFile(dir / "older.txt", "lines of a log");
  ASSERT_EQ(::chmod(older.c_str(), 0644), 0);
  ASSERT_TRUE(file.Create(older));
  ASSERT_TRUE(file.Close());
  bool existed = false;
  ASSERT_TRUE(file.CreateNew(dir / "fresh.txt", &existed));
  ASSERT_TRUE(file.Close());
  ::umask(old);
  for (const char* name : {"new.txt", "older.txt", "fresh.txt"}) {
    struct stat status;
    ASSERT_EQ(::stat((dir / name).c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u) << name;
  }
#endif
}

}  // namespace
