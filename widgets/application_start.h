// How each window program starts its application.
#pragma once

#include <QApplication>
#include <memory>
#include <string>
#include <vector>

namespace suite {

// The application of a window program, in Chinese; or, when no display can be
// reached (none set, none answering, or gone before Qt connected), nullptr
// after "<program>: no display to show the window on (...)." and `consoleHint`
// on stderr: the program then ends with status 1. `argc` must outlive the
// application.
std::unique_ptr<QApplication> StartApplication(int& argc, char** argv, const char* program,
                                               const char* consoleHint = nullptr);

// The program's own arguments, once the application has taken Qt's options
// (-platform, ...): on Linux the bytes as given (a path is the file system's
// bytes, a keyword the locale's text); on Windows UTF-8, from the wide command
// line (argv there is in the ANSI code page, which drops Chinese).
std::vector<std::string> ApplicationArguments(int argc, char** argv);

}  // namespace suite
