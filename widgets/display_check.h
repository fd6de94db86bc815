// The programs' notice when no window can be shown here, given before Qt
// starts: without a display Qt ends the program with an abort and a plugin message.
#pragma once

#include <string>

#include "common/display_presence.h"

namespace suite {

// Prints "<program>: no display to show the window on (<reason>)." and
// `consoleHint` (if any) on stderr.
void PrintNoDisplayNotice(const char* program, const std::string& reason, const char* consoleHint);

// For the programs' main: when no display is there, prints the notice and
// returns true; the program then ends with status 1.
bool ReportMissingDisplay(const char* program, const char* consoleHint = nullptr);

}  // namespace suite
