#include "widgets/application_start.h"

#include "widgets/display_check.h"
#include "widgets/display_loss_notice.h"
#include "widgets/qt_translations.h"

namespace suite {

std::unique_ptr<QApplication> StartApplication(int& argc, char** argv, const char* program, const char* consoleHint) {
  if (ReportMissingDisplay(program, consoleHint)) return nullptr;
  DisplayLossNotice notice(program, consoleHint);
  auto application = std::make_unique<QApplication>(argc, argv);
  notice.Disarm();
  InstallChineseQtTexts(*application);  // without them Qt's own texts stay English
  return application;
}

}  // namespace suite
