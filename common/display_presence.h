// Whether a window can be shown here, found out before Qt starts: without a
// display Qt ends the program with an abort and a plugin message.
#pragma once

#include <string>

namespace suite {

// Why no window can be shown ("DISPLAY is not set", ...), or "" when a display
// is there: a platform set in QT_QPA_PLATFORM, a Wayland display, or an X
// display whose local socket answers (a remote one is taken on trust).
std::string MissingDisplayReason();

// A write to a display connection that the server has closed fails instead of
// ending the program without a word: X's library writes without
// MSG_NOSIGNAL, so SIGPIPE is ignored from here on (a window program writes
// to no pipe whose closing should end it). Nothing to do on Windows.
void KeepClosedConnectionsFromEndingTheProgram();

}  // namespace suite
