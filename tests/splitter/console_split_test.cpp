#include "splitter/console_split.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/exclusive_file.h"
#include "common/suite_version.h"
#include "splitter/split.h"
#include "test_support/temp_dir.h"

namespace cleavora {
namespace {

using suite::testing::ReadFile;
using suite::testing::WriteFile;

class ConsoleSplitTest : public ::testing::Test {
 protected:
  void SetUp() override { suite::SetActiveCodePage(suite::CodePage::Gbk); }

  // Runs the split mode; what it printed goes to `out` and `err`.
  int Run(const std::vector<std::string>& args) {
    std::FILE* outFile = Capture();
    std::FILE* errFile = Capture();
    const int status = RunConsoleSplit(args, suite::FilePlace{dir.Path() + "/", "__Cleavora__", true}, outFile, errFile);
    out = Contents(outFile);
    err = Contents(errFile);
    return status;
  }

  // A new file in the test's folder for one stream (tmpfile() failed now and
  // then under Wine, with two test programs at once, and the run crashed).
  std::FILE* Capture() {
    std::FILE* file = std::fopen((dir / ("stream" + std::to_string(++streams))).c_str(), "w+b");
    EXPECT_NE(file, nullptr);
    return file;
  }

  static std::string Contents(std::FILE* file) {
    std::string text;
    std::rewind(file);
    for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
    std::fclose(file);
    return text;
  }

  suite::testing::TempDir dir;
  std::string out, err;
  int streams = 0;
};

TEST_F(ConsoleSplitTest, SplitsWithTheWindowsTextsAndEndsWithTheSplitDirectory) {
  std::string source;
  for (int i = 1; i <= 10001; ++i) source += std::to_string(i) + "\n";
  const std::string path = WriteFile(dir / "big.log", source);

  ASSERT_EQ(Run({"split", path, " 10000 "}), 0) << err;
  const std::string work = dir.Path() + "/__Cleavora__/";
  const std::string::size_type lastLine = out.rfind('\n', out.size() - 2) + 1;
  const std::string splitDirectory = out.substr(lastLine, out.size() - lastLine - 1);
  EXPECT_EQ(out.substr(0, lastLine),
            "开始分割......\n"
            "正在分割: 已将前 10000 行分割成 1 个小文件\n"
            "分割成功: 将 10001 行分割成 2 个小文件\n");
  EXPECT_EQ(splitDirectory.rfind(work, 0), 0u) << splitDirectory;
  EXPECT_EQ(ReadFile(PiecePath(splitDirectory, 1)), "10001\r\n");
  EXPECT_TRUE(err.empty());
}

TEST_F(ConsoleSplitTest, AFailedSplitsReasonGoesToStderr) {
  EXPECT_EQ(Run({"split", dir / "missing.log", "10000"}), 1);
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, "分割失败，目标文件不存在！\n");

  // Held by another program: the open fails, and says so, not "missing".
  const std::string held = WriteFile(dir / "held.log", "a\n");
  suite::ExclusiveFile holder;
  ASSERT_TRUE(holder.Open(held));
  EXPECT_EQ(Run({"split", held, "10000"}), 1);
  EXPECT_EQ(err, "打开“" + held + "”文件失败!\n可能由于其它程序正在对该文件写入。\n");

  // The status texts before the failure stay on stdout (a file where the work
  // directory should be: no piece can be created, whoever runs the test).
  holder.Close();
  WriteFile(dir / "__Cleavora__", "");
  EXPECT_EQ(Run({"split", held, "10000"}), 1);
  EXPECT_EQ(out, "开始分割......\n");
  EXPECT_EQ(err.rfind("创建“", 0), 0u) << err;
}

TEST_F(ConsoleSplitTest, RefusesBadArgumentsWithTheUsageLine) {
  const std::string path = WriteFile(dir / "a.log", "a\n");
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {},
           {"split", path},
           {"index", path, "10000"},
           {"--bogus"},
           {"--help", "more"},
           {"split", path, "10000", "more"},
           {"split", path, "9999"},
           {"split", path, "1000000001"},
           {"split", path, "1e5"},
           {"split", path, ""}}) {
    EXPECT_EQ(Run(args), 2) << args.size();
    EXPECT_EQ(err.rfind("partivo-cli: ", 0), 0u) << err;
    EXPECT_NE(err.find("\nusage: partivo-cli split FILE LINES\n"
                       "Try 'partivo-cli --help' for more information.\n"),
              std::string::npos)
        << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 3) << err;
    EXPECT_TRUE(out.empty());
  }
  Run({"--help", "more"});
  EXPECT_EQ(err.rfind("partivo-cli: --help takes no arguments\n", 0), 0u) << err;
  EXPECT_FALSE(std::filesystem::exists(dir / "__Cleavora__"));
}

TEST_F(ConsoleSplitTest, HelpAndVersionOnStdout) {
  for (const char* option : {"--help", "-h"}) {
    EXPECT_EQ(Run({option}), 0);
    EXPECT_EQ(out.rfind("usage: partivo-cli split FILE LINES\n", 0), 0u) << out;
    // Both places split directories go to.
    EXPECT_NE(out.find("__Cleavora__ beside the program"), std::string::npos);
    EXPECT_NE(out.find("documents folder"), std::string::npos);
    EXPECT_TRUE(err.empty());
  }
  EXPECT_EQ(Run({"--version"}), 0);
  EXPECT_EQ(out, std::string("partivo-cli ") + suite::kSuiteVersion + "\n");
  EXPECT_TRUE(err.empty());
}

// Output lost on a full device is a failure, said after the split's own.
TEST_F(ConsoleSplitTest, AnUnwritableStdoutFailsTheRun) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  const std::string path = WriteFile(dir / "a.log", "a\n");
  const auto runOnFullDevice = [&](const std::vector<std::string>& args) {
    std::FILE* full = std::fopen("/dev/full", "w");
    EXPECT_NE(full, nullptr);
    std::FILE* errFile = Capture();
    const int status = RunConsoleSplit(args, suite::FilePlace{dir.Path() + "/", "__Cleavora__", true}, full, errFile);
    std::fclose(full);
    err = Contents(errFile);
    return status;
  };
  const std::string lost = "partivo-cli: can't write to stdout: No space left on device\n";
  EXPECT_EQ(runOnFullDevice({"--version"}), 1);
  EXPECT_EQ(err, lost);
  // A failed split flushes its status texts before its reason: that flush
  // loses them, and its reason is the one given.
  WriteFile(dir / "__Cleavora__", "");
  EXPECT_EQ(runOnFullDevice({"split", path, "10000"}), 1);
  EXPECT_EQ(err.rfind("创建“", 0), 0u) << err;
  EXPECT_NE(err.find("\n" + lost), std::string::npos) << err;
  std::filesystem::remove(dir / "__Cleavora__");
  EXPECT_EQ(runOnFullDevice({"split", path, "10000"}), 1);
  EXPECT_EQ(err, lost);
  // Bad arguments write nothing on stdout.
  EXPECT_EQ(runOnFullDevice({"split", path}), 2);
}

}  // namespace
}  // namespace cleavora
