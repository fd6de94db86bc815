#include "widgets/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>
#include <utility>

namespace suite {
namespace {

// Texts Qt's Chinese catalogue lacks: the kinds of files the chooser's type
// column names without the MIME database (a folder showed "Folder").
class MissingChineseTexts : public QTranslator {
 public:
  using QTranslator::QTranslator;
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* source, const char*, int) const override {
    if (qstrcmp(context, "QAbstractFileIconProvider") != 0) return QString();
    static const std::pair<const char*, const char*> kTexts[] = {
        {"Folder", "文件夹"}, {"File Folder", "文件夹"}, {"Drive", "驱动器"}, {"File", "文件"},
        {"Shortcut", "快捷方式"}, {"Alias", "替身"},    {"Unknown", "未知"}};
    for (const auto& [english, chinese] : kTexts) {
      if (qstrcmp(source, english) == 0) return QString::fromUtf8(chinese);
    }
    return QString();
  }
};

}  // namespace

bool InstallChineseQtTexts(QCoreApplication& application) {
  // Qt's own folder on a system with Qt installed; beside the program where
  // the programs are shipped in one folder with their Qt (Windows).
  return InstallChineseQtTexts(application, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
         InstallChineseQtTexts(application, QCoreApplication::applicationDirPath() + QStringLiteral("/translations"));
}

bool InstallChineseQtTexts(QCoreApplication& application, const QString& directory) {
  QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
  auto* translator = new QTranslator(&application);
  if (!translator->load(QStringLiteral("qtbase_zh_CN"), directory) || !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(new MissingChineseTexts(&application));
  return true;
}

}  // namespace suite
