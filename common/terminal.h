// The console a console program writes to.
#pragma once

#include <string>

namespace suite {

// True when the program's stdout (stderr) goes to a terminal, not a file or a pipe.
bool StdoutIsTerminal();
bool StderrIsTerminal();

// The charset the console shows text in, as the code page conversion names
// it: "GB18030" or "GBK" for the Chinese locales that use them, else "UTF-8".
// Reads the locale set with setlocale.
std::string ConsoleCharset();

}  // namespace suite
