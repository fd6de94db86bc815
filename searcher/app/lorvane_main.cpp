// Lorvane: the searcher's program.
#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/path_util.h"
#include "searcher/app/lorvane_dlg.h"
#include "widgets/application_start.h"
#include "widgets/qt_desktop_shell.h"
#include "widgets/single_instance.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  const auto application = suite::StartApplication(argc, argv, "Lorvane", "lorvane-cli runs the same engine on a console.");
  if (!application) return 1;
  suite::SingleInstanceGuard guard("{5E1A07C3-92D4-4b6e-A1F0-3C8D24B6E917}");
  if (!guard.IsFirst()) return 0;

  // Keyword, "0" or "1", target; or a target alone ("open with"): the keyword
  // is the arguments' text (the window converts it), the path file-system bytes.
  const std::vector<std::string> arguments = suite::ApplicationArguments(argc, argv);
  const lorvane::CommandLineRequest request = lorvane::ParseCommandLine(arguments, suite::GetModuleDirectory());

  suite::QtDesktopShell shell;
  lorvane::CLorvaneDlg dialog(request, shell);
  guard.SetWindow(&dialog, [&dialog] { return dialog.windowTitle() == QString::fromUtf8(lorvane::LVN_MAIN_TITLE_M); });
  dialog.exec();
  // A worker still running can't be waited for (it may be inside a call to the
  // window): end at once; what it writes is either whole or never claimed.
  if (dialog.RunningWorkers() > 0) std::_Exit(0);
  return 0;
}
