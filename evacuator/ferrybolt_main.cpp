// Ferrybolt: empties the folder it lives in into a time-stamped directory.

#include "common/path_util.h"
#include "evacuator/tuckaway_dlg.h"
#include "widgets/application_start.h"
#include "widgets/qt_desktop_shell.h"

int main(int argc, char** argv) {
  const auto application = suite::StartApplication(argc, argv, "Ferrybolt");
  if (!application) return 1;
  suite::QtDesktopShell shell;
  // Any number may run at once: there is no single-instance guard.
  tuckaway::TuckawayDlg dialog(suite::GetModuleDirectory(), shell);
  dialog.exec();
  return 0;
}
