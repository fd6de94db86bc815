// Partivo: the splitter's program, one dialog.

#include "common/file_places.h"
#include "splitter/cleavora_dlg.h"
#include "splitter/split_state.h"
#include "widgets/application_start.h"
#include "widgets/qt_desktop_shell.h"

int main(int argc, char** argv) {
  const auto application = suite::StartApplication(argc, argv, "Partivo", "partivo-cli splits on a console.");
  if (!application) return 1;
  cleavora::SplitState state(suite::ProgramFilePlace(cleavora::kSplitterFiles));
  suite::QtDesktopShell shell;
  cleavora::CCleavoraDlg dialog(state, shell);
  dialog.exec();
  return 0;
}
