// Reading a list file into the entries of the snippet list.
#pragma once

#include <string>
#include <vector>

#include "snippets/snippet_entry.h"

namespace snipkeep {

enum class ListReadResult { Read, OpenFailed, ReadFailed };

// Reads the file in the suite's text model (opened with no sharing) and gives
// every line of non-zero length as an entry, in file order, marked as a
// heading by the code page in force. `entries` is replaced; it is left empty
// unless the whole file was read.
ListReadResult ReadListFile(const std::string& path, std::vector<SnippetEntry>& entries);

}  // namespace snipkeep
