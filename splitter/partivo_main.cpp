// Partivo: the splitter's program, one dialog.
#include <QApplication>

#include "common/path_util.h"
#include "splitter/cleavora_dlg.h"
#include "splitter/split_state.h"
#include "widgets/display_check.h"
#include "widgets/qt_desktop_shell.h"
#include "widgets/qt_translations.h"

int main(int argc, char** argv) {
  if (suite::ReportMissingDisplay("Partivo", "partivo-cli splits on a console.")) return 1;
  QApplication application(argc, argv);
  suite::InstallChineseQtTexts(application);  // without them Qt's own texts stay English
  cleavora::SplitState state(suite::GetModuleDirectory());
  suite::QtDesktopShell shell;
  cleavora::CCleavoraDlg dialog(state, shell);
  dialog.exec();
  return 0;
}
