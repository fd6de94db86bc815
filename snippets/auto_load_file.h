// The auto-load file: the path of the current list, one line without a line end.
#pragma once

#include <string>

namespace snipkeep {

// The file's first line, or the empty text when it can't be read.
std::string ReadAutoLoadFile(const std::string& path);

// Creates or truncates the file and writes `listFile` without a line end.
// False when anything of it failed.
bool WriteAutoLoadFile(const std::string& path, const std::string& listFile);

}  // namespace snipkeep
