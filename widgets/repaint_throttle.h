// RepaintThrottle: a window repaints at most once per interval.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <chrono>
#include <functional>

class QTimer;
class QWidget;

namespace suite {

// A worker may change a window thousands of times a second (list entries,
// progress steps, figures); painting after each change would keep the
// window's thread busy with pictures nobody sees. The throttle holds back a
// window's update requests that come sooner than `interval` after the last
// paint and sends one when the interval is over, so every change still
// reaches the screen, at most one interval late.
class RepaintThrottle : public QObject {
 public:
  RepaintThrottle(QWidget* window, std::chrono::milliseconds interval);

  // Paints let through, for tests.
  int Paints() const { return paints_; }

  // Called at every update request of the window, before it is painted or
  // held back: what must be in place for the next picture.
  void SetBeforePaint(std::function<void()> prepare) { beforePaint_ = std::move(prepare); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  std::chrono::milliseconds interval_;
  QElapsedTimer sinceLastPaint_;
  QTimer* deferred_;
  bool letNextThrough_ = false;
  int paints_ = 0;
  std::function<void()> beforePaint_;
};

}  // namespace suite
