#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#ifndef _WIN32
#include <sys/resource.h>
#endif
#include <vector>

#include "common/exclusive_file.h"
#include "common/path_util.h"
#include "split_fixture.h"

namespace cleavora {
namespace {

using suite::Cp;
using testing::NumberedLines;
using Texts = std::vector<std::string>;

using SplitFailureTest = testing::SplitFixture;

// Every failure replaces the status text, shows the form and enables input, in
// that order, and never reports success.
Texts FailureCalls(const std::string& utf8Message) {
  return {"SetStatusText(" + Cp(utf8Message) + ")", "ShowForm()", "EnableInput(1)"};
}

TEST_F(SplitFailureTest, MissingSourceCreatesNothing) {
  for (const std::string& path : {dir / "missing.txt", std::string()}) {
    EXPECT_EQ(SplitFile(path, 3), -1);
    EXPECT_EQ(window.calls, FailureCalls("分割失败，目标文件不存在！")) << path;
  }
  EXPECT_FALSE(suite::PathExists(state.WorkDirectory()));
  EXPECT_EQ(state.LastSplitDirectory(), "");
}

// A source held by another reader, or a directory, exists but can't be opened.
// The path goes into the message as it is, per-cent signs and GBK text alike.
TEST_F(SplitFailureTest, SourceThatCannotBeOpenedCreatesNothing) {
  const std::string held = WriteSource("a\n", "held %s%d \xE4\xB8\xAD.txt");
  suite::ExclusiveFile other;
  ASSERT_TRUE(other.Open(held));
  EXPECT_EQ(SplitFile(held, 3), -1);
  EXPECT_EQ(window.statusTexts, Texts{"打开“" + held + "”文件失败!\n可能由于其它程序正在对该文件写入。"});
  EXPECT_EQ(window.calls.size(), 3u);
  EXPECT_EQ(window.calls.back(), "EnableInput(1)");

  std::filesystem::create_directory(dir / "folder");
  EXPECT_EQ(SplitFile(dir / "folder", 3), -1);
  EXPECT_EQ(window.calls, FailureCalls("打开“" + (dir / "folder") + "”文件失败!\n可能由于其它程序正在对该文件写入。"));
  EXPECT_FALSE(suite::PathExists(state.WorkDirectory()));
}

// The program directory lies under a regular file: neither directory can be
// made, which shows as the failure to create the first piece.
TEST_F(SplitFailureTest, DirectoriesThatCannotBeMadeFailTheFirstPiece) {
  const std::string source = WriteSource("a\n");
  SplitState blocked(suite::testing::WriteFile(dir / "plain-file", "") + "/");
  window.SetFilePath(source);
  window.SetLinesPerPiece(3);
  window.calls.clear();
  EXPECT_EQ(RunSplit(window, blocked), -1);

  const std::string splitDirectory = blocked.LastSplitDirectory();
  EXPECT_EQ(splitDirectory.rfind(dir / "plain-file/__Cleavora__/", 0), 0u) << splitDirectory;
  const std::string piece = splitDirectory + "/000000000.txt";
  EXPECT_EQ(window.calls, (Texts{"ShowStatusLine(" + Cp("开始分割......") + ")",
                                 "SetStatusText(" + Cp("创建“" + piece + "”文件失败!") + ")", "ShowForm()",
                                 "EnableInput(1)"}));
}

// The split directory vanishes after the first piece: the next one can't be
// created; the progress report of the first piece comes before the failure.
TEST_F(SplitFailureTest, PieceThatCannotBeCreatedEndsTheSplit) {
  window.onLinesPerPiece = [&](long line) {
    if (line != 1) return;
    // Windows can't remove a directory with the first piece open in it: a
    // directory takes the second piece's name there instead.
    if (SUITE_ON_WINDOWS) {
      std::filesystem::create_directory(PiecePath(state.LastSplitDirectory(), 1));
    } else {
      std::filesystem::remove_all(state.LastSplitDirectory());
    }
  };
  EXPECT_EQ(SplitFile(WriteSource(NumberedLines(1, 5)), 2), -1);
  const std::string piece = PiecePath(state.LastSplitDirectory(), 1);
  EXPECT_EQ(window.statusTexts, (Texts{"正在分割: 已将前 2 行分割成 1 个小文件", "创建“" + piece + "”文件失败!"}));
  EXPECT_EQ(window.calls.back(), "EnableInput(1)");
}

#ifndef _WIN32  // no file-size limit on Windows
// A file-size limit stands in for a full disk: writes past it fail.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = nullptr;
};
#endif

TEST_F(SplitFailureTest, FullDiskReportsTheUnfinishedPiece) {
  SUITE_SKIP_ON_WINDOWS("no file-size limit to stand in for a full disk there");
#ifndef _WIN32
  const std::string source = WriteSource(NumberedLines(1000000, 1002000));  // 16 KB
  {
    // Found at the last flush, when the source has been read.
    FileSizeLimit limit(4096);
    EXPECT_EQ(SplitFile(source, 100000), -1);
  }
  const auto fullDisk = [&] {
    return Texts{"写入“" + PiecePath(state.LastSplitDirectory(), 0) + "”文件失败!\n可能由于磁盘空间不足，分割未完成。"};
  };
  EXPECT_EQ(window.statusTexts, fullDisk());
  EXPECT_EQ(window.calls.back(), "EnableInput(1)");

  {
    // Found in the middle, by a small buffer: the split goes no further.
    FileSizeLimit limit(4096);
    EXPECT_EQ(SplitFile(source, 1000, suite::kMapWindowSize, 1024), -1);
  }
  EXPECT_EQ(window.statusTexts, fullDisk());
  EXPECT_LT(window.linesPerPieceReads, 1000);
#endif
}

// A source that exists and opens but can't be read (reading the process's own
// memory at address 0 fails).
TEST_F(SplitFailureTest, ReadErrorIsReportedNotSuccess) {
  EXPECT_EQ(SplitFile("/proc/self/mem", 3), -1);
  EXPECT_EQ(window.calls.back(), "EnableInput(1)");
  EXPECT_EQ(window.statusTexts, Texts{"读取“/proc/self/mem”文件失败!\n分割未完成。"});
  EXPECT_EQ(Pieces(), Texts{""});
}

// Another program cuts the source while it is split (a log rotated by
// copytruncate): a failure naming the file, never success, and no crash.
// Through small windows too, where every other piece is written by the
// second lane, which reads the source itself.
TEST_F(SplitFailureTest, ASourceCutWhileItIsSplitIsReportedNotSuccess) {
  SUITE_SKIP_ON_WINDOWS("a mapped file can't be cut there (FileWindowWindowsTest)");
  for (const size_t windowSize : {suite::kMapWindowSize, size_t{4096}}) {
    const std::string source = WriteSource(NumberedLines(1, 300000));
    window.onLinesPerPiece = [&](long read) {
      if (read == 2500) {
        ASSERT_TRUE(suite::testing::CutFromAnotherProcess(source, 0));
      }
    };
    EXPECT_EQ(SplitFile(source, 1000, windowSize), -1) << windowSize;
    window.onLinesPerPiece = nullptr;
    EXPECT_EQ(window.statusTexts.back(), "“" + source + "”文件在读取时被截短!\n分割未完成。") << windowSize;
    EXPECT_EQ(window.calls.back(), "EnableInput(1)");
  }
}

// Cut between two windows, right at the end of the one just split: no mapped
// byte is lost, so only the next window's load can tell a cut from the end.
TEST_F(SplitFailureTest, ASourceCutBetweenTwoWindowsIsReportedNotSuccess) {
  SUITE_SKIP_ON_WINDOWS("a mapped file can't be cut there (FileWindowWindowsTest)");
  std::string lines;
  for (int i = 0; i < 2048; ++i) lines += std::to_string(1000000 + i) + "\n";  // 8 bytes each
  const std::string source = WriteSource(lines);
  window.onLinesPerPiece = [&](long read) {
    if (read == 512) {  // the last line of the first 4096-byte window
      ASSERT_TRUE(suite::testing::CutFromAnotherProcess(source, 4096));
    }
  };
  EXPECT_EQ(SplitFile(source, 100000, 4096), -1);
  window.onLinesPerPiece = nullptr;
  EXPECT_EQ(window.statusTexts.back(), "“" + source + "”文件在读取时被截短!\n分割未完成。");
  EXPECT_EQ(window.calls.back(), "EnableInput(1)");
}

// The second lane's piece can't be written (a full disk): its failure is the
// split's, after the reports of the pieces before it.
TEST_F(SplitFailureTest, APieceTheSecondLaneCannotWriteEndsTheSplit) {
  SUITE_SKIP_ON_WINDOWS("no file-size limit to stand in for a full disk there");
#ifndef _WIN32
  const std::string source = WriteSource(NumberedLines(1000000, 1002000));  // 16 KB, 2001 lines
  {
    FileSizeLimit limit(4096);
    EXPECT_EQ(SplitFile(source, 1000, 64, 16), -1);
  }
  // Piece 0 (1000 lines, 8000 bytes) is this thread's and fails first.
  EXPECT_EQ(window.statusTexts,
            Texts{"写入“" + PiecePath(state.LastSplitDirectory(), 0) + "”文件失败!\n可能由于磁盘空间不足，分割未完成。"});
  // Pieces of 500 lines (4500 bytes with their CRs) but the second, which
  // grows to 1000 lines past the limit while this thread writes the third.
  window.onLinesPerPiece = [&](long line) { if (line == 501) window.SetLinesPerPiece(1000); };
  {
    FileSizeLimit limit(5000);
    EXPECT_EQ(SplitFile(source, 500, 64, 16), -1);
  }
  window.onLinesPerPiece = nullptr;
  EXPECT_EQ(window.statusTexts,
            (Texts{"正在分割: 已将前 500 行分割成 1 个小文件",
                   "写入“" + PiecePath(state.LastSplitDirectory(), 1) + "”文件失败!\n可能由于磁盘空间不足，分割未完成。"}));
  EXPECT_EQ(window.calls.back(), "EnableInput(1)");
#endif
}

}  // namespace
}  // namespace cleavora
