// lorvane-cli: the searcher's engine on a console, beside the window program.
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "common/codepage.h"
#include "common/path_util.h"
#include "searcher/cli/console_window.h"
#include "searcher/engine/quick_index.h"
#include "searcher/engine/quick_pre_read.h"
#include "searcher/engine/search_context.h"

namespace {

constexpr const char* kUsage =
    "usage: lorvane-cli index FILE\n"
    "\n"
    "  index FILE   pre-read FILE: print the status lines, the size text, the line\n"
    "               count and the quick index (the offset of every 10000th line)\n"
    "\n"
    "Texts of files are taken in the code page SUITE_CODEPAGE (gbk, the default, or utf-8).\n"
    "Exit status: 0 done, 1 failed (after the failure's message), 2 bad arguments.\n";

int Usage(const char* problem) {
  if (problem) std::fprintf(stderr, "lorvane-cli: %s\n", problem);
  std::fputs(kUsage, stderr);
  return 2;
}

// Prints a text whose lines end in CR LF one console line each.
void PrintLines(lorvane::ConsoleWindow& window, const std::string& text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    size_t length = end - start;
    if (length > 0 && text[start + length - 1] == '\r') --length;
    window.PrintLine(text.substr(start, length));
    start = end + 1;
  }
}

int RunIndex(lorvane::ConsoleWindow& window, const std::string& path) {
  lorvane::SearchContext context;
  lorvane::StartUpEngine(window, context, suite::GetModuleDirectory());
  window.SetFormText(lorvane::FormText::FilePath, path);
  window.RefreshForm();
  const int result = lorvane::QuickPreRead(window, context);
  if (result != 0) return 1;
  window.PrintLine(window.Form().sizeText);
  window.PrintLine(window.Form().totalLinesText);
  PrintLines(window, lorvane::QuickIndexText(context.quickIndex));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc < 2) return Usage("no command given");
  const std::string command = argv[1];
  if (command != "index") return Usage(("unknown command: " + command).c_str());
  if (argc != 3) return Usage("index takes exactly one FILE");
  if (argv[2][0] == '\0') return Usage("FILE is empty");

  std::FILE* progress = ::isatty(STDERR_FILENO) ? stderr : nullptr;
  lorvane::ConsoleWindow window(stdout, progress, lorvane::ConsoleWindow::LocaleCharset());
  const int code = RunIndex(window, argv[2]);
  std::fflush(stdout);
  return code;
}
