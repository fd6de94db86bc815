// Ferrybolt: empties a folder into a time-stamped directory: the folder given
// on its command line, else the folder it lives in (a portable copy), else the
// current folder.

#include <string>
#include <vector>

#include "evacuator/source_folder.h"
#include "evacuator/tuckaway_dlg.h"
#include "widgets/application_start.h"
#include "widgets/qt_desktop_shell.h"

int main(int argc, char** argv) {
  const auto application = suite::StartApplication(argc, argv, "Ferrybolt");
  if (!application) return 1;
  suite::QtDesktopShell shell;
  // A folder path: the file system's bytes, as given.
  const std::vector<std::string> arguments = suite::ApplicationArguments(argc, argv);
  // Any number may run at once: there is no single-instance guard.
  tuckaway::TuckawayDlg dialog(tuckaway::ChooseSourceFolder(arguments), shell);
  dialog.exec();
  return 0;
}
