#include "widgets/file_drops.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "widgets/qt_text.h"

namespace suite {

std::vector<std::string> DroppedFiles(const QMimeData* data) {
  std::vector<std::string> paths;
  if (data == nullptr || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths.push_back(ToPath(url.toLocalFile()));
  }
  return paths;
}

FileDrops::FileDrops(QWidget* window, std::function<bool()> accepting,
                     std::function<void(const std::vector<std::string>&)> dropped)
    : QObject(window), window_(window), accepting_(std::move(accepting)), dropped_(std::move(dropped)) {
  window_->setAcceptDrops(true);  // drops on the window's body, and on controls that take none
  qApp->installEventFilter(this);
}

FileDrops::~FileDrops() { qApp->removeEventFilter(this); }

bool FileDrops::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != window_) return false;
  auto* drop = static_cast<QDropEvent*>(event);
  const std::vector<std::string> paths = DroppedFiles(drop->mimeData());
  if (paths.empty()) return false;
  if (!accepting_()) {
    drop->ignore();
    return true;
  }
  drop->acceptProposedAction();
  if (type == QEvent::Drop) dropped_(paths);
  return true;
}

}  // namespace suite
