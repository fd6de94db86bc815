#include "snippets/list_enumeration.h"

#include <dirent.h>
#include <string_view>

#include "snippets/list_name.h"
#include "snippets/snipkeep_texts.h"

namespace snipkeep {

std::vector<ListName> EnumerateListFiles(const std::string& directory) {
  std::vector<ListName> names;
  DIR* dir = ::opendir(directory.c_str());
  if (!dir) return names;
  const std::string defaultName = DefaultListName();
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view fileName = entry->d_name;
    if (fileName == "." || fileName == ".." || !IsListFileName(fileName)) continue;
    std::string name = ListNameOfFileName(fileName);
    const bool isDefault = name == defaultName;
    names.push_back(ListName{std::move(name), isDefault, std::string(fileName)});
  }
  ::closedir(dir);
  return names;
}

}  // namespace snipkeep
