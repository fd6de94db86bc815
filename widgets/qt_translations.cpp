#include "widgets/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>

namespace suite {

bool InstallChineseQtTexts(QCoreApplication& application) {
  return InstallChineseQtTexts(application, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

bool InstallChineseQtTexts(QCoreApplication& application, const QString& directory) {
  QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
  auto* translator = new QTranslator(&application);
  if (!translator->load(QStringLiteral("qtbase_zh_CN"), directory) || !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  return true;
}

}  // namespace suite
