// The desktop shell: opening folders and files with their default programs.
#pragma once

#include <string>

namespace suite {

// What the programs ask of the desktop. The window layer provides the real one;
// tests record the requests. Results are not examined by the callers.
class DesktopShell {
 public:
  virtual ~DesktopShell() = default;
  // Shows a folder in the file manager, started in `workingDirectory`.
  virtual void OpenFolder(const std::string& folder, const std::string& workingDirectory) = 0;
  // Opens a file with the desktop's default program for its type.
  virtual void OpenFile(const std::string& path) = 0;
};

// The searcher's variant: shows its work directory, started in the folder it
// lies in (the program's directory in a portable folder); the folder is not
// checked first.
void OpenFolderInExplorer(DesktopShell& shell, const std::string& workDirectory);

// The evacuator's and splitter's variant: shows the remembered last output
// folder; when it no longer exists it is replaced, for good, by `fallback`
// (the folder their work directory lies in) first.
void OpenFolderInExplorer(DesktopShell& shell, std::string* rememberedFolder, const std::string& fallback);

}  // namespace suite
