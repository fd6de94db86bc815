// Creating a new, empty list file.
#pragma once

#include <string>

namespace snipkeep {

// Creates an empty file; 0 on success, else the system's error code. Never
// truncates a file that exists, even one that appeared since it was looked
// for: list files are only ever written by the user.
int CreateEmptyFile(const std::string& path);

}  // namespace snipkeep
