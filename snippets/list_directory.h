// The list directory: where the list files and the auto-load file lie.
#pragma once

#include <string>

#include "snippets/list_enumeration.h"

namespace snipkeep {

// "config" and a separator beside a portable program; "snipkeep" and a
// separator in the user's config directory for an installed one.
std::string DefaultListDirectory();


// The path of a list's file: the directory and the file name the list carries,
// never one made again from the name shown. A list without a file name, or
// with one that would lie outside the directory, gives the empty path, which
// names no file.
std::string ListFilePath(const std::string& directory, const ListName& list);

}  // namespace snipkeep
