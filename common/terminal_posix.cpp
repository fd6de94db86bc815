#include "common/terminal.h"

#include <langinfo.h>
#include <strings.h>
#include <unistd.h>

namespace suite {

bool StdoutIsTerminal() { return ::isatty(STDOUT_FILENO) != 0; }

bool StderrIsTerminal() { return ::isatty(STDERR_FILENO) != 0; }

std::string ConsoleCharset() {
  const char* codeset = ::nl_langinfo(CODESET);
  if (codeset && ::strncasecmp(codeset, "GB", 2) == 0) {
    return ::strcasecmp(codeset, "GB18030") == 0 ? "GB18030" : "GBK";
  }
  if (codeset && ::strcasecmp(codeset, "CP936") == 0) return "GBK";
  return "UTF-8";
}

std::vector<std::string> ProgramArguments(int argc, char** argv) { return {argv, argv + argc}; }

std::string ArgumentCharset() { return ConsoleCharset(); }

}  // namespace suite
