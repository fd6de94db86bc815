#include "snippets/snippet_entry.h"

namespace snipkeep {

std::optional<std::string> GatherMultiLineSnippet(const std::vector<SnippetEntry>& entries, size_t index) {
  if (index + 1 >= entries.size()) return std::nullopt;
  std::string snippet;
  for (size_t k = index + 1; k < entries.size() && !entries[k].heading; ++k) {
    snippet += entries[k].text;
    snippet += "\r\n";
  }
  return snippet;
}

}  // namespace snipkeep
