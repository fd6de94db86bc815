// The list directory: where the list files and the auto-load file lie.
#pragma once

#include <string>

namespace snipkeep {

// "config" and a separator beside the running program.
std::string DefaultListDirectory();

// The directory with a separator at its end, added when missing.
std::string WithSeparator(std::string directory);

// The path of a list file named by code-page text ("name.txt"). When no file
// has exactly that name but one differs from it only in the case of its
// ".txt", that one is meant: the chooser lists "Notes.TXT" as "Notes" and
// hands back "Notes.txt". Otherwise the path of the exact name, which may not
// exist.
std::string ResolveListFile(const std::string& directory, const std::string& fileNameText);

}  // namespace snipkeep
