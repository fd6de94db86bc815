// Carries out a call on a window's thread, whole, and waits for it.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

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

// Calls that give nothing back and come in long runs (status lines, list
// entries, progress steps), kept in order for the window's thread. A worker
// adds a call under a lock; only the first call after the window took the
// last ones posts an event, so a run of thousands costs the worker a few
// wake-ups instead of an event each. Calls that wait (RunOnGui) are queued
// behind that event, so the window sees every call whole and in the order made.
class PostedCalls {
 public:
  explicit PostedCalls(QObject* window) : window_(window) {}

  void Post(std::function<void()> call) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      calls_.push_back(std::move(call));
      if (wakePending_) return;
      wakePending_ = true;
    }
    QMetaObject::invokeMethod(window_, [this] { RunAll(); }, Qt::QueuedConnection);
  }

 private:
  void RunAll() {
    std::vector<std::function<void()>> calls;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      calls.swap(calls_);
      wakePending_ = false;
    }
    for (const auto& call : calls) call();
  }

  QObject* window_;
  std::mutex mutex_;
  std::vector<std::function<void()>> calls_;
  bool wakePending_ = false;
};

// From the window's own thread the call runs at once; from a worker it is
// posted and the worker goes on. Once `closing` is set, workers' calls are dropped.
template <typename Function>
void PostToGui(QObject* window, const std::atomic<bool>& closing, PostedCalls& calls, Function&& function) {
  if (QThread::currentThread() == window->thread()) {
    function();
    return;
  }
  if (closing.load()) return;
  calls.Post(std::forward<Function>(function));
}

}  // namespace lorvane
