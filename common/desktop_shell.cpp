#include "common/desktop_shell.h"

#include "common/path_util.h"

namespace suite {

void OpenFolderInExplorer(DesktopShell& shell, const std::string& workDirectory) {
  shell.OpenFolder(workDirectory, DirectoryOfPath(workDirectory));
}

void OpenFolderInExplorer(DesktopShell& shell, std::string* rememberedFolder, const std::string& fallback) {
  if (!PathExists(*rememberedFolder)) *rememberedFolder = fallback;
  shell.OpenFolder(*rememberedFolder, *rememberedFolder);
}

}  // namespace suite
