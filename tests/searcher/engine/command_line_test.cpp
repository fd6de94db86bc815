#include "searcher/engine/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_support/temp_dir.h"

namespace lorvane {
namespace {

using suite::testing::TempDir;
using suite::testing::WriteFile;

// Runs `action` with the current directory set to `directory`.
template <typename Action>
auto InDirectory(const std::string& directory, Action action) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(directory);
  auto result = action();
  std::filesystem::current_path(before);
  return result;
}

TEST(CommandLineTest, AFileAlonePreReadsWithoutASearch) {
  TempDir dir;
  const std::string file = WriteFile(dir / "app.log", "x\r\n");
  const std::string program = dir.Path() + "/";

  const CommandLineRequest given = ParseCommandLine({file}, "/nowhere/");
  EXPECT_TRUE(given.autoLoad);
  EXPECT_FALSE(given.autoSearch);
  EXPECT_EQ(given.targetPath, file);
  EXPECT_EQ(given.keyword, "");

  // Found as the three-argument form finds its file: beside the program, and
  // from the current directory as a full path.
  EXPECT_EQ(ParseCommandLine({"app.log"}, program).targetPath, file);
  std::filesystem::create_directory(dir / "sub");
  const CommandLineRequest relative =
      InDirectory(dir / "sub", [] { return ParseCommandLine({"../app.log"}, "/nowhere/"); });
  EXPECT_TRUE(relative.autoLoad);
  EXPECT_EQ(relative.targetPath, file);

  // A descriptor is a file like any other here; the window restores it.
  const std::string descriptor = WriteFile(dir / "result.lvn", "");
  EXPECT_EQ(ParseCommandLine({descriptor}, "/nowhere/").targetPath, descriptor);
}

TEST(CommandLineTest, AnythingElseIsIgnored) {
  TempDir dir;
  const std::string file = WriteFile(dir / "app.log", "x\r\n");
  const std::string program = dir.Path() + "/";
  for (const std::vector<std::string>& ignored : std::vector<std::vector<std::string>>{
           {}, {""}, {dir / "missing.log"}, {"missing.log"}, {file, file}, {"0", file},
           {"error", "0", file, "more"}}) {
    const CommandLineRequest request = ParseCommandLine(ignored, program);
    EXPECT_FALSE(request.autoLoad) << ignored.size();
    EXPECT_FALSE(request.autoSearch) << ignored.size();
    EXPECT_EQ(request.targetPath, "");
  }
}

TEST(CommandLineTest, KeywordFlagAndFileStillSearch) {
  TempDir dir;
  const std::string file = WriteFile(dir / "app.log", "x\r\n");
  const CommandLineRequest request = ParseCommandLine({"error", "1", file}, "/nowhere/");
  EXPECT_TRUE(request.autoLoad && request.autoSearch && request.matchCase);
  EXPECT_EQ(request.keyword, "error");
  EXPECT_EQ(request.targetPath, file);
  // A keyword that names an existing file is still a keyword.
  EXPECT_TRUE(ParseCommandLine({file, "0", file}, "/nowhere/").autoSearch);
}

}  // namespace
}  // namespace lorvane
