#include "snippets/list_directory.h"

#include <dirent.h>
#include <string_view>

#include "common/path_util.h"
#include "snippets/list_name.h"
#include "snippets/snipkeep_texts.h"

namespace snipkeep {
namespace {

// A file in `directory` whose name is `fileName` up to the case of its last
// four bytes, which are an extension of a list file.
std::string FindWithExtensionInAnyCase(const std::string& directory, std::string_view fileName) {
  const std::string_view stem = fileName.substr(0, fileName.size() - 4);
  std::string found;
  DIR* dir = ::opendir(directory.c_str());
  if (!dir) return found;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.size() == fileName.size() && name.substr(0, stem.size()) == stem && IsListFileName(name)) {
      found = name;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

}  // namespace

std::string DefaultListDirectory() { return suite::GetModuleDirectory() + kListDirectoryName + suite::kPathSeparator; }

std::string WithSeparator(std::string directory) {
  if (directory.empty() || directory.back() != suite::kPathSeparator) directory += suite::kPathSeparator;
  return directory;
}

std::string ResolveListFile(const std::string& directory, const std::string& fileNameText) {
  const std::string fileName = FileSystemName(fileNameText);
  const std::string exact = directory + fileName;
  if (suite::PathExists(exact) || !IsListFileName(fileName)) return exact;
  const std::string other = FindWithExtensionInAnyCase(directory, fileName);
  return other.empty() ? exact : directory + other;
}

}  // namespace snipkeep
