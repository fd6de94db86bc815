// The desktop shell of the windows: folders and files open with the desktop's
// own programs (xdg-open here).
#pragma once

#include <string>

#include "common/desktop_shell.h"

namespace suite {

// Asks the desktop to open the path, as a file: URL, and does not wait for the
// program it starts. The desktop picks the working directory of that program,
// so `workingDirectory` has no effect here. Failures are not reported; the
// callers don't examine them.
class QtDesktopShell : public DesktopShell {
 public:
  void OpenFolder(const std::string& folder, const std::string& workingDirectory) override;
  void OpenFile(const std::string& path) override;
};

}  // namespace suite
