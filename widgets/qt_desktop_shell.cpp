#include "widgets/qt_desktop_shell.h"

#include <QDesktopServices>
#include <QUrl>

#include "widgets/qt_text.h"

namespace suite {

void QtDesktopShell::OpenFolder(const std::string& folder, const std::string& workingDirectory) {
  (void)workingDirectory;
  QDesktopServices::openUrl(QUrl::fromLocalFile(FromPath(folder)));
}

void QtDesktopShell::OpenFile(const std::string& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(FromPath(path))); }

}  // namespace suite
