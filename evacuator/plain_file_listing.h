// The entries of one directory that aren't directories.
#pragma once

#include <string>
#include <vector>

namespace tuckaway {

// Names of every entry directly in `directory` that isn't a directory (a
// symbolic link counts as what it points to; a dangling one as a file), hidden
// ones included, in the order the file system gives them. Never recurses. A
// directory that can't be read gives what was read so far, or nothing.
std::vector<std::string> ListPlainFiles(const std::string& directory);

}  // namespace tuckaway
