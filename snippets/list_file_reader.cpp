#include "snippets/list_file_reader.h"

#include "common/exclusive_file.h"
#include "common/line_reader.h"
#include "snippets/heading_line.h"
#include "snippets/message_text.h"

namespace snipkeep {
namespace {

// List files are small; a line longer than this grows the reader's buffer.
constexpr size_t kListReadBlockSize = 64 * 1024;

}  // namespace

ListReadResult ReadListFile(const std::string& path, std::vector<SnippetEntry>& entries,
                            const suite::CodePageSetting& codePageSetting) {
  entries.clear();
  suite::ExclusiveFile file;
  if (!file.Open(path)) return ListReadResult::OpenFailed;
  // The non-empty lines, each ended by an LF (no line holds one): all of them
  // tell the code page before any is taken as an entry.
  std::string lines;
  suite::LineReader reader(file, 0, kListReadBlockSize);
  suite::TextLine line;
  while (reader.Next(line)) {
    if (line.text.empty()) continue;
    lines.append(line.text);
    lines += '\n';
  }
  if (reader.Failed()) {
    // Half a list shown as a loaded one would hide the rest of the user's snippets.
    return ListReadResult::ReadFailed;
  }
  const suite::CodePage codePage = suite::ChooseCodePage(lines, codePageSetting).codePage;
  const std::string_view all(lines);
  for (size_t from = 0; from < all.size();) {
    const size_t end = all.find('\n', from);
    const std::string_view text = all.substr(from, end - from);
    entries.push_back(SnippetEntry{MessageTextOf(codePage, text), IsHeadingLine(codePage, text)});
    from = end + 1;
  }
  return ListReadResult::Read;
}

}  // namespace snipkeep
