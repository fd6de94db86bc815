// lorvane-cli follow: a search kept current on the console while its log grows.
#pragma once

#include <string>

namespace lorvane {

class ConsoleWindow;

// Searches the log at `path` for `keyword` (in the code page) as the search
// command does, prints the history directory, then looks at the log whenever
// it may have changed (at least once a second) and prints each new result of
// a whole line, saying when the log was rotated, cut or is gone, or a look
// failed (it is tried again at the next). Ends on SIGINT or SIGTERM, after
// the look under way: 128 plus the signal. 1 when the first search failed
// (the window said why).
int FollowLog(ConsoleWindow& window, const std::string& path, const std::string& keyword, bool matchCase);

}  // namespace lorvane
