// Ferrybolt: empties the folder it lives in into a time-stamped directory.
#include <QApplication>

#include "common/path_util.h"
#include "evacuator/tuckaway_dlg.h"
#include "widgets/display_check.h"
#include "widgets/qt_desktop_shell.h"
#include "widgets/qt_translations.h"

int main(int argc, char** argv) {
  if (suite::ReportMissingDisplay("Ferrybolt")) return 1;
  QApplication application(argc, argv);
  suite::InstallChineseQtTexts(application);  // without them Qt's own texts stay English
  suite::QtDesktopShell shell;
  // Any number may run at once: there is no single-instance guard.
  tuckaway::TuckawayDlg dialog(suite::GetModuleDirectory(), shell);
  dialog.exec();
  return 0;
}
