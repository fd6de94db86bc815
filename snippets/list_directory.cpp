#include "snippets/list_directory.h"

#include "common/file_places.h"
#include "common/path_util.h"
#include "snippets/snipkeep_texts.h"

namespace snipkeep {

std::string DefaultListDirectory() {
  // The user edits these lists: beside a portable program, else with the user's settings.
  static constexpr suite::FilesRequest kLists{kListDirectoryName, suite::UserPlace::kConfig, "snipkeep"};
  return suite::ProgramFilePlace(kLists).Directory() + suite::kPathSeparator;
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
