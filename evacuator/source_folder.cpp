#include "evacuator/source_folder.h"

#include "common/codepage.h"
#include "common/path_util.h"

namespace tuckaway {

SourceFolder ChooseSourceFolder(const std::vector<std::string>& arguments, const suite::PlaceFacts& facts,
                                const std::string& currentDirectory, const InspectFolder& inspect) {
  SourceFolder folder;
  std::string path;
  if (!arguments.empty() && !arguments.front().empty()) {
    folder.origin = SourceOrigin::kCommandLine;
    path = arguments.front();
  } else if (suite::KeepsFilesBesideProgram(facts)) {
    folder.origin = SourceOrigin::kProgramFolder;
    path = facts.programDirectory;
  } else {
    folder.origin = SourceOrigin::kCurrentFolder;
    path = currentDirectory;
  }
  const FolderFacts found = inspect(path);
  folder.directory = suite::WithSeparator(found.fullPath.empty() ? path : found.fullPath);
  if (!found.isDirectory || found.fullPath.empty()) {
    folder.refusal = suite::Cp("不整理此目录: 目录不存在");
  } else if (suite::IsSystemFolder(folder.directory)) {
    folder.refusal = suite::Cp("不整理此目录: 这是系统目录");
  } else if (suite::WithSeparator(facts.home) == folder.directory) {
    folder.refusal = suite::Cp("不整理此目录: 这是用户主目录");
  } else if (!found.writable) {
    folder.refusal = suite::Cp("不整理此目录: 不能写入此目录");
  }
  return folder;
}

SourceFolder ChooseSourceFolder(const std::vector<std::string>& arguments) {
  return ChooseSourceFolder(arguments, suite::ReadPlaceFacts(), suite::CurrentDirectory(), [](const std::string& path) {
    FolderFacts facts;
    facts.fullPath = suite::ResolvedPath(path);
    facts.isDirectory = suite::IsDirectory(facts.fullPath);
    facts.writable = suite::IsWritableDirectory(facts.fullPath);
    return facts;
  });
}

std::string SourceNoteText(const SourceFolder& folder) {
  if (!folder.refusal.empty()) return folder.refusal;
  switch (folder.origin) {
    case SourceOrigin::kProgramFolder: return suite::Cp("(程序所在的目录)");
    case SourceOrigin::kCommandLine: return suite::Cp("(命令行给出的目录)");
    case SourceOrigin::kCurrentFolder: return suite::Cp("(当前目录)");
  }
  return std::string();
}

}  // namespace tuckaway
