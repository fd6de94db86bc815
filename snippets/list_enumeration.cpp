#include "snippets/list_enumeration.h"

#include <string_view>

#include "common/directory_listing.h"
#include "snippets/list_name.h"
#include "snippets/snipkeep_texts.h"

namespace snipkeep {

std::vector<ListName> EnumerateListFiles(const std::string& directory) {
  std::vector<ListName> names;
  const std::vector<suite::DirectoryEntry> entries = suite::ListDirectory(directory);
  const std::string defaultName = DefaultListName();
  for (const suite::DirectoryEntry& entry : entries) {
    const std::string_view fileName = entry.name;
    if (!IsListFileName(fileName)) continue;
    std::string name = ListNameOfFileName(fileName);
    const bool isDefault = name == defaultName;
    names.push_back(ListName{std::move(name), isDefault, std::string(fileName)});
  }
  return names;
}

}  // namespace snipkeep
