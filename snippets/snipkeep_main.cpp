// Snipkeep: the snippet tool's program.
#include <clocale>

#include "common/path_util.h"
#include "snippets/list_directory.h"
#include "snippets/snipkeep_dlg.h"
#include "widgets/application_start.h"
#include "widgets/qt_desktop_shell.h"
#include "widgets/single_instance.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  const auto application = suite::StartApplication(argc, argv, "Snipkeep");
  if (!application) return 1;
  // A second start brings the running window forward, whichever list it shows, and ends.
  suite::SingleInstanceGuard guard("{7B30C2E9-1A64-4f2d-9E85-60D4A7C1B352}");
  if (!guard.IsFirst()) return 0;

  suite::QtDesktopShell shell;
  snipkeep::SnipkeepDlg dialog(shell, snipkeep::DefaultListDirectory(), suite::GetModuleDirectory());
  guard.SetWindow(&dialog, [&dialog] { return snipkeep::IsSnipkeepTitle(dialog.windowTitle()); });
  dialog.exec();
  return 0;
}
