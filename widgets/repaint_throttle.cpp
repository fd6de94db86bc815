#include "widgets/repaint_throttle.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace suite {

RepaintThrottle::RepaintThrottle(QWidget* window, std::chrono::milliseconds interval)
    : QObject(window), window_(window), interval_(interval), deferred_(new QTimer(this)) {
  deferred_->setSingleShot(true);
  deferred_->setTimerType(Qt::PreciseTimer);
  connect(deferred_, &QTimer::timeout, this, [this] {
    letNextThrough_ = true;
    QCoreApplication::postEvent(window_, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
  });
  window_->installEventFilter(this);
}

bool RepaintThrottle::eventFilter(QObject* watched, QEvent* event) {
  if (watched != window_ || event->type() != QEvent::UpdateRequest) return false;
  if (beforePaint_) beforePaint_();
  const auto interval = static_cast<qint64>(interval_.count());
  if (letNextThrough_ || !sinceLastPaint_.isValid() || sinceLastPaint_.elapsed() >= interval) {
    // The window's repaint manager paints everything marked since the last
    // paint, held-back requests included.
    letNextThrough_ = false;
    deferred_->stop();
    sinceLastPaint_.restart();
    ++paints_;
    return false;
  }
  if (!deferred_->isActive()) deferred_->start(static_cast<int>(interval - sinceLastPaint_.elapsed()));
  return true;
}

}  // namespace suite
