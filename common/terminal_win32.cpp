#include "common/terminal.h"

#include <windows.h>
#include <shellapi.h>

#include "common/wide_text_win32.h"

namespace suite {
namespace {

bool IsConsole(DWORD which) {
  DWORD mode;
  return ::GetConsoleMode(::GetStdHandle(which), &mode) != 0;
}

}  // namespace

bool StdoutIsTerminal() { return IsConsole(STD_OUTPUT_HANDLE); }

bool StderrIsTerminal() { return IsConsole(STD_ERROR_HANDLE); }

// The console's output code page: 936 is GBK, 54936 GB18030; anything else
// is written as UTF-8 (the console programs set 65001 where they can).
std::string ConsoleCharset() {
  const UINT codePage = ::GetConsoleOutputCP();
  if (codePage == 936) return "GBK";
  if (codePage == 54936) return "GB18030";
  return "UTF-8";
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!wide) return {argv, argv + argc};
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(win32::Narrow(wide[i]));
  ::LocalFree(wide);
  return arguments;
}

std::string ArgumentCharset() { return "UTF-8"; }

}  // namespace suite
