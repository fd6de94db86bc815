#include "snippets/list_file_reader.h"

#include "common/codepage.h"
#include "common/exclusive_file.h"
#include "common/line_reader.h"
#include "snippets/heading_line.h"

namespace snipkeep {
namespace {

// List files are small; a line longer than this grows the reader's buffer.
constexpr size_t kListReadBlockSize = 64 * 1024;

}  // namespace

ListReadResult ReadListFile(const std::string& path, std::vector<SnippetEntry>& entries) {
  entries.clear();
  suite::ExclusiveFile file;
  if (!file.Open(path)) return ListReadResult::OpenFailed;
  const suite::CodePage codePage = suite::ActiveCodePage();
  suite::LineReader reader(file, 0, kListReadBlockSize);
  suite::TextLine line;
  while (reader.Next(line)) {
    if (line.text.empty()) continue;
    entries.push_back(SnippetEntry{std::string(line.text), IsHeadingLine(codePage, line.text)});
  }
  if (reader.Failed()) {
    // Half a list shown as a loaded one would hide the rest of the user's snippets.
    entries.clear();
    return ListReadResult::ReadFailed;
  }
  return ListReadResult::Read;
}

}  // namespace snipkeep
