#include "widgets/application_start.h"

#include <QMessageBox>

#include "common/codepage_choice.h"
#include "common/display_presence.h"
#include "widgets/display_check.h"
#include "widgets/display_loss_notice.h"
#include "widgets/qt_text.h"
#include "widgets/qt_translations.h"

namespace suite {

std::unique_ptr<QApplication> StartApplication(int& argc, char** argv, const char* program, const char* consoleHint) {
  if (ReportMissingDisplay(program, consoleHint)) return nullptr;
  // A display that answered the check may close as Qt connects: then the
  // notice below, not a silent end by SIGPIPE.
  KeepClosedConnectionsFromEndingTheProgram();
  DisplayLossNotice notice(program, consoleHint);
  auto application = std::make_unique<QApplication>(argc, argv);
  notice.Disarm();
  InstallChineseQtTexts(*application);  // without them Qt's own texts stay English
  // A code page the suite doesn't know would read every file wrong: refused.
  if (const auto& unknown = CodePageSettingOfProcess().unknown) {
    QMessageBox::critical(nullptr, QString::fromUtf8(program), FromCodePage(UnknownCodePageText(*unknown)));
    return nullptr;
  }
  return application;
}

std::vector<std::string> ApplicationArguments(int argc, char** argv) {
#ifdef Q_OS_WIN
  (void)argc;
  (void)argv;
  std::vector<std::string> arguments;
  const QStringList given = QCoreApplication::arguments();
  for (qsizetype i = 1; i < given.size(); ++i) arguments.push_back(given[i].toStdString());
  return arguments;
#else
  return std::vector<std::string>(argv + 1, argv + argc);
#endif
}

}  // namespace suite
