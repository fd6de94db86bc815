// The list files of the list directory, as the chooser shows them.
#pragma once

#include <string>
#include <vector>

namespace snipkeep {

// A list file as the chooser lists it and hands it back. The file name is
// kept as the file system spells it: the name shown can't always give it back
// (a character the code page lacks, bytes that aren't UTF-8).
struct ListName {
  std::string name;        // code-page text, the file name less its ".txt"
  bool isDefault = false;  // the default list: the chooser shows it apart
  std::string fileName;    // file-system bytes, the ".txt" included
  friend bool operator==(const ListName&, const ListName&) = default;
};

// Every entry of `directory` whose name ends in ".txt" in any case, in the
// order the file system gives them. Reads nothing but the directory, so it
// may run on any thread. A directory that can't be read gives nothing.
std::vector<ListName> EnumerateListFiles(const std::string& directory);

}  // namespace snipkeep
