#include "widgets/clipboard_text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

namespace suite {

QString PlainText(const QMimeData* data) {
  if (data == nullptr) return QString();
  const QList<QUrl> urls = data->urls();
  if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); })) return QString();
  const QStringList formats = data->formats();
  const bool plain = std::any_of(formats.begin(), formats.end(), [](const QString& format) {
    return format == QLatin1String("text/plain") || format.startsWith(QLatin1String("text/plain;"));
  });
  return plain ? data->text() : QString();
}

QString ClipboardPlainText() { return PlainText(QGuiApplication::clipboard()->mimeData()); }

}  // namespace suite
