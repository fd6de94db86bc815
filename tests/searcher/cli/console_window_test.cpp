#include "searcher/cli/console_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <utility>

#include "common/codepage.h"
#include "searcher/cli/terminal_style.h"
#include "test_support/temp_dir.h"

namespace lorvane {
namespace {

#ifdef _WIN32
// No memory stream on Windows: a file of its own, read back (not tmpfile(),
// which failed now and then under Wine with two test programs at once).
struct Captured {
  suite::testing::TempDir dir;
  std::FILE* stream = std::fopen((dir / "stream").c_str(), "w+b");
  std::string Text() {
    std::fflush(stream);
    const long end = std::ftell(stream);
    std::string text(static_cast<size_t>(end), '\0');
    std::rewind(stream);
    text.resize(std::fread(text.data(), 1, text.size(), stream));
    std::fseek(stream, 0, SEEK_END);
    return text;
  }
  ~Captured() { std::fclose(stream); }
};
#else
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
#endif

// Text without the status lines' time prefixes "[MM/DD hh:mm:ss] ".
std::string WithoutTimes(const std::string& text) {
  return std::regex_replace(text, std::regex(R"(\[\d\d/\d\d \d\d:\d\d:\d\d\] )"), "");
}

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

// The last status line of a failed run is its failure's message: it goes to
// the failure stream, alone; every line before it and all data stay on `out`.
TEST(ConsoleWindowTest, AFailuresMessageGoesToItsOwnStream) {
  Captured out, failures;
  ConsoleWindow console(out.stream, nullptr, "UTF-8");
  console.ReportFailuresOn(failures.stream);
  console.PostStatus("first");
  console.PostStatus("second");
  EXPECT_EQ(WithoutTimes(out.Text()), "first\n");
  console.PrintData("data");
  console.PostStatus("failed");
  console.EndRun(true);
  EXPECT_EQ(WithoutTimes(out.Text()), "first\nsecond\ndata\n");
  EXPECT_EQ(WithoutTimes(failures.Text()), "failed\n");

  Captured out2, failures2;
  ConsoleWindow done(out2.stream, nullptr, "UTF-8");
  done.ReportFailuresOn(failures2.stream);
  done.PostStatus("finished");
  done.EndRun(false);
  EXPECT_EQ(WithoutTimes(out2.Text()), "finished\n");
  EXPECT_EQ(failures2.Text(), "");
}

TEST(ConsoleWindowTest, ProgressShowsTheHeldLineFirst) {
  Captured out, failures, progress;
  ConsoleWindow console(out.stream, progress.stream, "UTF-8");
  console.ReportFailuresOn(failures.stream);
  console.PostStatus("searching");
  console.EnableControls(false, true);
  console.ProgressSetRange(0, 4);
  EXPECT_EQ(WithoutTimes(out.Text()), "searching\n");  // work goes on: it isn't a failure
  console.EndRun(true);
  EXPECT_EQ(failures.Text(), "");
}

TEST(ConsoleWindowTest, DataIsColouredOnlyWhenAllowed) {
  Captured coloured, plain, piped;
  ConsoleWindow(coloured.stream, nullptr, "UTF-8", true, true).PrintData("* hit", 34);
  ConsoleWindow(plain.stream, nullptr, "UTF-8", true, false).PrintData("* hit", 34);
  ConsoleWindow(piped.stream, nullptr, "UTF-8", false, true).PrintData("* hit", 34);
  EXPECT_EQ(coloured.Text(), "\x1b[34m* hit\x1b[0m\n");
  EXPECT_EQ(plain.Text(), "* hit\n");
  EXPECT_EQ(piped.Text(), "* hit\n");
}

TEST(TerminalStyleTest, NoColorAndDumbTerminals) {
  const auto style = [](bool out, bool err, const char* noColor, const char* term) {
    const TerminalStyle chosen = ChooseTerminalStyle(out, err, noColor, term);
    return std::pair(chosen.colour, chosen.progress);
  };
  EXPECT_EQ(style(true, true, nullptr, "xterm-256color"), std::pair(true, true));
  EXPECT_EQ(style(true, true, nullptr, nullptr), std::pair(true, true));
  EXPECT_EQ(style(true, true, "", "xterm"), std::pair(true, true));  // set but empty: no effect
  EXPECT_EQ(style(true, true, "1", "xterm"), std::pair(false, true));
  EXPECT_EQ(style(true, true, "0", "xterm"), std::pair(false, true));  // any value at all
  EXPECT_EQ(style(true, true, nullptr, "dumb"), std::pair(false, false));
  EXPECT_EQ(style(false, true, nullptr, "xterm"), std::pair(false, true));
  EXPECT_EQ(style(true, false, nullptr, "xterm"), std::pair(true, false));
}

}  // namespace
}  // namespace lorvane
