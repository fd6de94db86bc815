#include "searcher/cli/console_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/codepage.h"

namespace lorvane {
namespace {

struct Captured {
  char* data = nullptr;
  size_t size = 0;
  std::FILE* stream = open_memstream(&data, &size);
  std::string Text() {
    std::fflush(stream);
    return std::string(data, size);
  }
  ~Captured() {
    std::fclose(stream);
    std::free(data);
  }
};

TEST(ConsoleWindowTest, StatusLinesAreConvertedForTheConsole) {
  suite::SetActiveCodePage(suite::CodePage::Gbk);
  Captured utf8, gbk;
  ConsoleWindow utf8Console(utf8.stream, nullptr, "UTF-8");
  ConsoleWindow gbkConsole(gbk.stream, nullptr, "GBK");
  // A message with a keyword from a file: GBK bytes and one that doesn't decode.
  const std::string message = suite::Cp("关键字") + " \xD6\xD0\xFF";
  utf8Console.PostStatus(message);
  gbkConsole.PostStatus(message);
  const std::string utf8Text = utf8.Text();
  const std::string gbkText = gbk.Text();
  ASSERT_EQ(utf8Text.size() > 17, true);
  EXPECT_EQ(utf8Text.substr(17), "关键字 中\\xFF\n");
  EXPECT_EQ(gbkText.substr(17), suite::Cp("关键字") + " \xD6\xD0\\xFF\n");
  // The window's own state follows as in any window.
  EXPECT_EQ(utf8Console.Status().Lines()[2].substr(17), message);
}

TEST(ConsoleWindowTest, ProgressIsDrawnOnlyWhenAsked) {
  Captured out, progress;
  ConsoleWindow console(out.stream, progress.stream, "UTF-8");
  console.EnableControls(false, true);
  console.ProgressSetRange(0, 4);
  console.ProgressSetStep(1);
  console.ProgressStep();
  console.ProgressStep();
  EXPECT_NE(progress.Text().find(" 50%"), std::string::npos);
  console.EnableControls(true, true);
  console.PostStatus("done");
  EXPECT_EQ(out.Text().substr(17), "done\n");
}

}  // namespace
}  // namespace lorvane
