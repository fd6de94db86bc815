// How each window program starts its application.
#pragma once

#include <QApplication>
#include <memory>

namespace suite {

// The application of a window program, in Chinese; or, when no display can be
// reached (none set, none answering, or gone before Qt connected), nullptr
// after "<program>: no display to show the window on (...)." and `consoleHint`
// on stderr: the program then ends with status 1. `argc` must outlive the
// application.
std::unique_ptr<QApplication> StartApplication(int& argc, char** argv, const char* program,
                                               const char* consoleHint = nullptr);

}  // namespace suite
