#include "widgets/qt_text.h"

#include <QFile>

#include "common/codepage.h"

namespace suite {

QString FromCodePage(std::string_view text) { return QString::fromStdString(ToUtf8(text)); }

QString FromCodePage(std::string_view text, CodePage codePage) {
  return QString::fromStdString(CodePageToUtf8(codePage, text));
}

std::string ToCodePage(const QString& text) { return Cp(text.toStdString()); }

QString FromPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string ToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace suite
