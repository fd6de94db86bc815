#include "snippets/list_directory.h"

#include "common/path_util.h"
#include "snippets/snipkeep_texts.h"

namespace snipkeep {

std::string DefaultListDirectory() { return suite::GetModuleDirectory() + kListDirectoryName + suite::kPathSeparator; }

std::string WithSeparator(std::string directory) {
  if (directory.empty() || directory.back() != suite::kPathSeparator) directory += suite::kPathSeparator;
  return directory;
}

std::string ListFilePath(const std::string& directory, const ListName& list) {
  const std::string& name = list.fileName;
  if (name.empty() || name == "." || name == ".." || name.find(suite::kPathSeparator) != std::string::npos ||
      name.find('\0') != std::string::npos) {
    return std::string();
  }
  return directory + name;
}

}  // namespace snipkeep
