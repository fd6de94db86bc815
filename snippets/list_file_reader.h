// Reading a list file into the entries of the snippet list.
#pragma once

#include <string>
#include <vector>

#include "common/codepage_choice.h"
#include "snippets/snippet_entry.h"

namespace snipkeep {

enum class ListReadResult { Read, OpenFailed, ReadFailed };

// Reads the file in the suite's text model (opened with no sharing) and gives
// every line of non-zero length as an entry, in file order. The file's own
// code page (GBK or UTF-8, found from its lines unless `codePageSetting`
// forces one) tells which lines are headings, and the entries are its lines
// turned into text of the code page in force (MessageTextOf), so the list
// shows them and copies them alike whichever the file is in. `entries` is
// replaced; it is left empty unless the whole file was read.
ListReadResult ReadListFile(const std::string& path, std::vector<SnippetEntry>& entries,
                            const suite::CodePageSetting& codePageSetting = suite::CodePageSettingOfProcess());

}  // namespace snipkeep
