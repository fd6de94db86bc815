// `partivo-cli split FILE LINES`: the dialog's split without a window.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "common/file_places.h"

namespace cleavora {

// `args` are the words after the program's name: "split", FILE, LINES; or
// "--help" / "-h" (the help, on `out`), or "--version".
// Splits FILE into pieces of LINES lines (10000 to 1000000000, as Apply takes
// them) into the work directory at `place`, with the same RunSplit as
// the dialog. Every status text goes to `out` as a UTF-8 line, and after a
// complete split the split directory on a line of its own; a failed split's
// last status text (its reason) goes to `err` instead, as do argument errors
// (with the usage line). Gives the exit status: 0 done, 1 the split failed
// or `out` couldn't be written (said on `err`), 2 bad arguments.
int RunConsoleSplit(const std::vector<std::string>& args, const suite::FilePlace& place, std::FILE* out,
                    std::FILE* err);

}  // namespace cleavora
