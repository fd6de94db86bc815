// Carries out a call on a window's thread, whole, and waits for it.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <atomic>
#include <utility>

namespace lorvane {

// From the window's own thread the call runs at once; from a worker it is
// queued to the window's thread and the worker waits for it, so the worker's
// calls take effect one by one in the order made. Once `closing` is set, calls
// from workers are dropped: the window is going away and the program ends.
template <typename Function>
void RunOnGui(QObject* window, const std::atomic<bool>& closing, Function&& function) {
  if (QThread::currentThread() == window->thread()) {
    function();
    return;
  }
  if (closing.load()) return;
  QMetaObject::invokeMethod(window, std::forward<Function>(function), Qt::BlockingQueuedConnection);
}

// For calls that give nothing back and come in long runs (a page of list
// entries, progress steps): queued to the window's thread without waiting.
// Queued calls keep their order among themselves and before any later call
// that waits, so the window sees them whole and in the order made; the window
// takes a run of them in one go instead of repainting after each.
template <typename Function>
void PostToGui(QObject* window, const std::atomic<bool>& closing, Function&& function) {
  if (QThread::currentThread() == window->thread()) {
    function();
    return;
  }
  if (closing.load()) return;
  QMetaObject::invokeMethod(window, std::forward<Function>(function), Qt::QueuedConnection);
}

}  // namespace lorvane
