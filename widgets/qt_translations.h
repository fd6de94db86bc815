// Qt's own texts in the suite's language: the standard buttons, the file
// chooser, the edit fields' menus.
#pragma once

class QCoreApplication;
class QString;

namespace suite {

// Installs Qt's Chinese translations of its own texts (qtbase_zh_CN.qm in Qt's
// translations directory, where Debian's qt6-translations-l10n puts them, or
// in `translations` beside the program, as the Windows folder has it) for the
// life of the application, whatever the desktop's language: the suite speaks
// Chinese. Qt's default locale becomes Chinese too, so the file chooser gives
// dates and file types in Chinese. Without the file Qt's texts stay English and
// nothing else changes; false then.
bool InstallChineseQtTexts(QCoreApplication& application);
// The same, the translations taken from `directory`.
bool InstallChineseQtTexts(QCoreApplication& application, const QString& directory);

}  // namespace suite
