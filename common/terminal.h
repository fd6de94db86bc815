// The console a console program writes to.
#pragma once

#include <string>
#include <vector>

namespace suite {

// True when the program's stdout (stderr) goes to a terminal, not a file or a pipe.
bool StdoutIsTerminal();
bool StderrIsTerminal();

// The charset the console shows text in, as the code page conversion names
// it: "GB18030" or "GBK" for the Chinese locales that use them, else "UTF-8".
// Reads the locale set with setlocale.
std::string ConsoleCharset();

// The program's arguments, its name first. On POSIX systems argv as it came,
// in the locale's charset; on Windows the wide command line in UTF-8 (argv
// there holds the ANSI code page's text, which loses what it lacks).
std::vector<std::string> ProgramArguments(int argc, char** argv);

// The charset of ProgramArguments' text, as the code page conversion names it.
std::string ArgumentCharset();

}  // namespace suite
