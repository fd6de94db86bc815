// Drags and drops for window tests, as a user makes them.
#pragma once

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

namespace suite::testing {

// What a file manager offers for dragged files: their URLs, and the URLs as
// text (which an edit field would insert).
inline std::unique_ptr<QMimeData> DraggedFiles(const std::vector<std::string>& paths) {
  auto data = std::make_unique<QMimeData>();
  QList<QUrl> urls;
  QStringList texts;
  for (const std::string& path : paths) {
    urls << QUrl::fromLocalFile(QString::fromStdString(path));
    texts << urls.back().toString();
  }
  data->setUrls(urls);
  data->setText(texts.join('\n'));
  return data;
}

inline std::unique_ptr<QMimeData> DraggedText(const QString& text) {
  auto data = std::make_unique<QMimeData>();
  data->setText(text);
  return data;
}

// Drags `data` into `target`, moves it to the target's centre and drops it
// there. True when the drop was taken.
inline bool DragAndDrop(QWidget* target, const QMimeData& data) {
  const QPoint at = target->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &move);
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  return drop.isAccepted();
}

}  // namespace suite::testing
