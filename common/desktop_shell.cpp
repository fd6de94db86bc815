#include "common/desktop_shell.h"

#include "common/path_util.h"

namespace suite {

void OpenFolderInExplorer(DesktopShell& shell, const std::string& workDirectory) {
  shell.OpenFolder(workDirectory, GetModuleDirectory());
}

void OpenFolderInExplorer(DesktopShell& shell, std::string* rememberedFolder) {
  if (!PathExists(*rememberedFolder)) *rememberedFolder = GetModuleDirectory();
  shell.OpenFolder(*rememberedFolder, *rememberedFolder);
}

}  // namespace suite
